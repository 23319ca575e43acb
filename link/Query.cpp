// The query rule: write a question, read its answer within a bound, on the port that is
// open or over one network connection for the whole query.
#include <algorithm>

#include "link/Link.h"
#include "res/Combos.h"

namespace tallyx {

namespace {
constexpr int kConnectWaitMs = 1000;
constexpr int kRetryPauseMs = 10;

// What the steps after a silent one get: the same fault, not asked.
void SkipRest(const std::vector<QueryStep>& steps, size_t from, bool requiredSilent, Outcome fault,
              std::vector<QueryAnswer>& answers)
{
    for (size_t i = from; i < steps.size(); ++i)
        if (requiredSilent || !steps[i].required) answers[i].outcome = fault;
}

template <class Read>
QueryAnswer ReadAnswer(Platform& platform, const QueryStep& step, int boundMs, std::stop_token stop, Read read)
{
    QueryAnswer answer;
    const int64_t deadline = platform.NowMs() + boundMs;
    uint8_t chunk[256];
    while (!step.complete(answer.reply) && answer.reply.size() < step.replyMax) {
        if (stop.stop_requested()) return {Outcome{LinkFault::Stopped}, answer.reply};
        const int64_t left = deadline - platform.NowMs();
        if (left <= 0) break;
        const int64_t before = platform.NowMs();
        const size_t got = read(chunk, std::min(sizeof chunk, step.replyMax - answer.reply.size()), int(left));
        answer.reply.insert(answer.reply.end(), chunk, chunk + got);
        // A device that hangs up reads nothing at once: wait between tries all the same.
        if (got == 0 && platform.NowMs() == before) platform.SleepMs(kRetryPauseMs, stop);
    }
    if (stop.stop_requested()) answer.outcome = Outcome{LinkFault::Stopped};
    else if (answer.reply.empty()) answer.outcome = Outcome{LinkFault::NoReply};
    else if (!step.complete(answer.reply)) answer.outcome = Outcome{LinkFault::BadReply};
    return answer;
}

// Runs the steps in order; `ask` writes one request (false: it could not), `read` reads.
template <class Ask, class Read>
std::vector<QueryAnswer> RunSteps(Platform& platform, const std::vector<QueryStep>& steps, int boundMs,
                                  std::stop_token stop, Ask ask, Read read)
{
    std::vector<QueryAnswer> answers(steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        if (answers[i].outcome.fault != LinkFault::None) continue;   // skipped
        if (const Outcome asked = ask(steps[i]); !asked) {
            answers[i].outcome = asked;
            SkipRest(steps, i + 1, true, asked, answers);
            break;
        }
        answers[i] = ReadAnswer(platform, steps[i], boundMs, stop, read);
        const LinkFault fault = answers[i].outcome.fault;
        if (fault == LinkFault::Stopped) {
            SkipRest(steps, i + 1, true, answers[i].outcome, answers);
            break;
        }
        if (fault == LinkFault::NoReply) SkipRest(steps, i + 1, steps[i].required, answers[i].outcome, answers);
    }
    return answers;
}
} // namespace

std::vector<QueryAnswer> Link::Query(const std::vector<QueryStep>& steps, std::stop_token stop)
{
    if (g_linkKind.load() == LinkKind::Network || m_host.PortText() == combo::kPorts[combo::kPortEthernetIndex].item)
        return QueryNetwork(steps, stop);
    return QueryDevice(steps, stop);
}

std::vector<QueryAnswer> Link::QueryDevice(const std::vector<QueryStep>& steps, std::stop_token stop)
{
    // The port stays open and locked from the first question to the last answer: a reopen
    // would drop what the printer sends back.
    std::lock_guard lock(m_lock);
    if (!g_hPort.IsOpen()) {
        std::vector<QueryAnswer> answers(steps.size());
        for (QueryAnswer& a : answers) a.outcome = Outcome{LinkFault::NotWritten};
        return answers;
    }
    const int fd = g_hPort.fd;
    m_platform.Purge(fd);   // an answer left from before is not this question's
    return RunSteps(
        m_platform, steps, m_replyBoundMs, stop,
        [&](const QueryStep& step) {
            if (m_platform.Write(fd, step.request.data(), step.request.size(), m_writeBound) < step.request.size())
                return Outcome{LinkFault::WriteTimeout};
            return Outcome{};
        },
        [&](uint8_t* data, size_t capacity, int timeoutMs) {
            return m_platform.Read(fd, data, capacity, timeoutMs, stop);
        });
}

std::vector<QueryAnswer> Link::QueryNetwork(const std::vector<QueryStep>& steps, std::stop_token stop)
{
    std::vector<QueryAnswer> answers(steps.size());
    const auto failAll = [&](Outcome fault) {
        for (QueryAnswer& a : answers) a.outcome = fault;
        return answers;
    };
    AddressEntry address;
    uint16_t port = 0;
    {
        std::lock_guard lock(m_lock);
        address = m_host.PrinterAddress();
        port = m_tcpPort;
    }
    if (address.Blank()) return failAll(Outcome{LinkFault::AddressBlank});
    if (!address.Complete()) return failAll(Outcome{LinkFault::SendAddressIncomplete});
    // The connection and its waits are the query's own: no lock is held across them.
    const OpenResult sock = m_platform.SocketOpen();
    if (!sock.ok()) return failAll(Outcome{LinkFault::SocketFailed, sock.error});
    ConnectState state = m_platform.SocketConnect(sock.fd, address.Value(), port);
    if (state == ConnectState::Pending) state = m_platform.SocketWaitConnected(sock.fd, kConnectWaitMs, stop);
    if (state != ConnectState::Connected) {
        m_platform.SocketClose(sock.fd);
        return failAll(Outcome{stop.stop_requested() ? LinkFault::Stopped : LinkFault::NotReached});
    }
    answers = RunSteps(
        m_platform, steps, m_replyBoundMs, stop,
        [&](const QueryStep& step) {
            size_t sent = 0;
            const int64_t deadline = m_platform.NowMs() + m_replyBoundMs;
            while (sent < step.request.size()) {
                const long n = m_platform.SocketSend(sock.fd, step.request.data() + sent, step.request.size() - sent);
                if (n == Platform::kSendFailed) return Outcome{LinkFault::CutOff};
                if (n > 0) {
                    sent += size_t(n);
                    continue;
                }
                if (stop.stop_requested()) return Outcome{LinkFault::Stopped};
                if (m_platform.NowMs() >= deadline) return Outcome{LinkFault::NotReached};
                m_platform.SocketWaitWritable(sock.fd, 10, stop);
            }
            return Outcome{};
        },
        [&](uint8_t* data, size_t capacity, int timeoutMs) {
            return m_platform.SocketReceive(sock.fd, data, capacity, timeoutMs, stop);
        });
    m_platform.SocketCloseGracefully(sock.fd, 0, stop);
    return answers;
}

} // namespace tallyx
