#pragma once

#include <cstdint>

namespace velmira {

// The system's master-volume unit: one line of the first mixer device and that
// line's volume control, read and written as raw per-channel values in the
// control's own units. Statuses: 1 is success; a failed read is -1; a failed
// bind or write is 0.
class SysVolume {
public:
    // The speakers destination line, the only kind this program binds.
    static constexpr int kSpeakersLine = 4;

    static constexpr int kSucceeded = 1;
    static constexpr int kReadFailed = -1;
    static constexpr int kBindFailed = 0;
    static constexpr int kWriteFailed = 0;

    // The value a read reports for a channel that the line does not have.
    static constexpr std::int32_t kMissingChannel = -1;

    virtual ~SysVolume() = default;

    // Releases any earlier binding first, so a failure leaves the unit unbound.
    virtual int Bind(int lineKind) = 0;

    // Unbound: kReadFailed, and left and right keep their values. Bound: both are
    // set to kMissingChannel first, then left takes the first channel and right
    // the second; a one-channel line leaves right at kMissingChannel.
    [[nodiscard]] virtual int Read(std::int32_t& left, std::int32_t& right) = 0;

    // Unbound: kWriteFailed and nothing changes. A one-channel line takes left alone.
    virtual int Write(std::int32_t left, std::int32_t right) = 0;
};

}  // namespace velmira
