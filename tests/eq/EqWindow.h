#pragma once
// The shared main-window fixture with the graph's helpers: the tick stepped by
// hand and direct access to the parameter image.

#include "app/WindowState.h"
#include "eq/EqGraph.h"
#include "params/ParamImage.h"
#include "tests/support/AppFixture.h"

#include <QTimer>

#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const SentWrite& w) {
    return os << "(0x" << std::hex << w.address << std::dec << ", " << w.value
              << (w.suppressed ? ", held" : "") << ")";
}

class EqWindowTest : public AppFixture {
protected:
    void Tick() { form->Timer1Timer(form->Timer1); }
    // Writable, unlike the fixture's reader.
    static int& P(int module, int index) { return Params.ParamImage[module][index]; }
};
