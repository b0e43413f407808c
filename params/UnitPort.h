#pragma once
// Where a parameter value leaves the console for the unit. The link session is
// one; start-up hands it to SendDatatoMCU, which never names the link itself.

class UnitPort {
public:
    virtual ~UnitPort() = default;
    // True while the unit answers and takes writes.
    virtual bool UnitOnline() const = 0;
    // One write for the unit, sent at once on an idle link, else queued.
    virtual void QueueWrite(int ModuleAddr, int HighLowData) = 0;
};
