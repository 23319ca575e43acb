#pragma once
// One printer link kind behind one interface: its open, its delivery rule, its query.
// Serial, USB and network each have a file; tests use a recording fake.
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "link/Outcome.h"
#include "link/Target.h"

namespace tallyx {

// Told at the moment a fault happens, in the order of the steps that failed (the window
// shows each in a box, the command line prints it).
using Tell = std::function<void(const Outcome&)>;

// What the connect asks a network printer, and how much of the answer it reads: the
// request's bytes are the caller's (the link builds no command).
struct NetQuery {
    Bytes request;
    size_t replyMax = 0;   // read at most this much
    size_t replyMin = 0;   // fewer bytes: ReplyShort, and the connect goes on
};

struct ConnectOutcome {
    bool connected = false;
    Outcome outcome;      // why not, or a short network reply
    Bytes netReply;       // network only: what the printer answered the query
};

// One question of a status read: the request, and when the reply read so far is whole.
struct QueryStep {
    Bytes request;
    std::function<bool(const Bytes&)> complete;
    size_t replyMax = 1;
    // A required step that gets no answer ends the whole query; an optional one ends the
    // optional steps after it (a printer that does not know the question).
    bool required = true;
};
struct QueryAnswer {
    Outcome outcome;   // NoReply when nothing whole came within the bound
    Bytes reply;       // what came, whole or not
};

class Transport {
public:
    virtual ~Transport() = default;
    virtual LinkKind Kind() const = 0;
    // The port path, the USB device node or "address:port", for the send log.
    virtual std::string Describe() const = 0;
    // The connect button's opening half: opens the port, or checks the network printer
    // with netQuery and reads back its answer.
    virtual ConnectOutcome Connect(const NetQuery& netQuery, std::stop_token stop) = 0;
    // The kind's delivery rule for one command.
    virtual Outcome Deliver(std::span<const uint8_t> bytes, std::stop_token stop) = 0;
    // Each step's question and its answer within boundMs, in order; faults only returned.
    virtual std::vector<QueryAnswer> Query(const std::vector<QueryStep>& steps, int boundMs,
                                           std::stop_token stop) = 0;
    virtual void Close() = 0;
    // A failed open that the next command reports (USB), taken once.
    virtual bool TakeOpenFailure() { return false; }

    void SetTell(Tell tell) { m_tell = std::move(tell); }

protected:
    Outcome Told(LinkFault fault, int error = 0)
    {
        const Outcome outcome{fault, error};
        if (m_tell) m_tell(outcome);
        return outcome;
    }
    Tell m_tell;
};

} // namespace tallyx
