// The query rule: write a question, read its answer within a bound.
#include <algorithm>

#include "link/QueryRule.h"

namespace tallyx {

namespace {
constexpr int kRetryPauseMs = 10;

// What the steps after a silent one get: the same fault, not asked.
void SkipRest(const std::vector<QueryStep>& steps, size_t from, bool requiredSilent, Outcome fault,
              std::vector<QueryAnswer>& answers)
{
    for (size_t i = from; i < steps.size(); ++i)
        if (requiredSilent || !steps[i].required) answers[i].outcome = fault;
}

QueryAnswer ReadAnswer(Platform& platform, const QueryStep& step, int boundMs, std::stop_token stop,
                       const ReadSome& read)
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
} // namespace

std::vector<QueryAnswer> FailAll(const std::vector<QueryStep>& steps, Outcome fault)
{
    std::vector<QueryAnswer> answers(steps.size());
    for (QueryAnswer& a : answers) a.outcome = fault;
    return answers;
}

std::vector<QueryAnswer> RunSteps(Platform& platform, const std::vector<QueryStep>& steps, int boundMs,
                                  std::stop_token stop, const AskStep& ask, const ReadSome& read)
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

} // namespace tallyx
