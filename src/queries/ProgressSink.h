#pragma once
#include <QString>

namespace cangshu {

// How a long operation of the logic layer reports its progress without knowing who shows it.
// The progress window implements it; the command line and the tests use the silent one.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setLabel(const QString& text) = 0;
    virtual void setRange(int maximum) = 0;
    virtual void setValue(int value) = 0;
    // Lets the operator stop the operation; the logic checks it between steps.
    virtual bool isCancelled() const { return false; }
};

class SilentProgress : public ProgressSink {
public:
    void setLabel(const QString&) override {}
    void setRange(int) override {}
    void setValue(int) override {}
};

} // namespace cangshu
