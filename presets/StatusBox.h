#pragma once
// Small always-on-top window that shows the progress of transfers and of the
// device-memory waits.

#include <QWidget>

class QLabel;
class QProgressBar;

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    QLabel* LinkLabel = nullptr;
    QProgressBar* RzProgressStatus1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* HoldLabel = nullptr; // why the parameter controls are disabled meanwhile

    // Percent last given; the bar itself shows at most 100.
    int Percent = 0;
    void SetPercent(int percent);

    // Shows the box on top without moving or resizing it (centred on the main
    // window the first time).
    void ShowOnTop();

private:
    bool placed_ = false;
};

// The single status box; set while it exists.
extern TForm4* Form4;
