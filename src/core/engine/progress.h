#pragma once

#include <cstdint>

namespace trellic {

// Told how far a long operation has come, and asked whether it should go on: the desktop
// program shows a progress window with a Cancel button. Tools and tests that cannot cancel
// pass none.
class ProgressPort {
public:
    virtual ~ProgressPort() = default;
    // `done` of `total` units of the current step (bytes read, entries rendered); false when
    // the user asked to stop. Called at a bounded rate, never more than a few hundred times a
    // step.
    virtual bool Report(uint64_t done, uint64_t total) = 0;
    // The operation is over, finished or cancelled: a window showing it can go.
    virtual void Finished() {}
};

// Reports one step of work to a port, at most kReports times however small the units: cheap
// enough to ask at every unit. A step that was cancelled stays cancelled.
class ProgressMeter {
public:
    static constexpr uint64_t kReports = 256;

    // A null port: the step cannot be cancelled and nothing is reported.
    ProgressMeter(ProgressPort* port, uint64_t total);

    // False once the user asked to stop.
    bool Advance(uint64_t done) { return done < m_next || Report(done); }
    bool Cancelled() const { return m_cancelled; }
    // Reports the step complete (the window reaches its end even when the last units were
    // too few to be reported); false when the user asked to stop.
    bool Finish() { return Report(m_total); }

private:
    bool Report(uint64_t done);

    ProgressPort* m_port;
    uint64_t m_total;
    uint64_t m_stride;
    uint64_t m_next;
    bool m_cancelled = false;
};

} // namespace trellic
