#pragma once
// The production HID backend on hidapi (hidraw on Linux). Device arrival and
// removal come from a udev monitor where libudev is available, otherwise from
// comparing the device list once a second.

#include "link/HidCtl.h"

#include <cstddef>
#include <cstdint>
#include <memory>

std::unique_ptr<HidBackend> MakeHidapiBackend();

// Input and output report lengths (report-ID byte included) that a HID report
// descriptor declares for one report ID; 0 where it declares none. For a
// descriptor without report IDs the lengths of its single report are given,
// with the 0 byte hidapi puts in front counted.
struct HidReportLengths {
    int input = 0;
    int output = 0;
};
HidReportLengths ParseReportDescriptor(const uint8_t* descriptor, std::size_t size, int reportId);
