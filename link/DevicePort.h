#pragma once
// What the serial and USB transports share: the one device handle, its write, its
// close and its query (a question written and its answer read on the open device).
#include "link/Platform.h"
#include "link/Transport.h"

namespace tallyx {

// none / the last USB open failed and is not yet reported / an open device
struct PortHandle {
    enum class State { None, Failed, Open };
    State state = State::None;
    int fd = -1;
    bool IsNone() const { return state == State::None; }
    bool IsFailed() const { return state == State::Failed; }
    bool IsOpen() const { return state == State::Open; }
};

class DevicePort : public Transport {
public:
    DevicePort(Platform& platform, WriteBound bound) : m_platform(platform), m_writeBound(bound) {}
    ~DevicePort() override { CloseHandle(); }

    ConnectOutcome Connect(const NetQuery&, std::stop_token) override;
    std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, int boundMs,
                                   std::stop_token stop) override;
    void Close() override { CloseHandle(); }
    // Closes the device and opens it again.
    virtual Outcome ReopenPort() = 0;

    // As the next command would find it.
    virtual PortHandle Handle() const { return g_hPort; }

protected:
    void CloseHandle();
    // The end of every open: both driver queues emptied.
    void FinishOpen();
    Outcome WriteToPort(std::span<const uint8_t> bytes);

    Platform& m_platform;
    WriteBound m_writeBound;
    PortHandle g_hPort;
};

} // namespace tallyx
