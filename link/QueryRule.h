#pragma once
// The query rule every transport follows: ask each step in order, read its answer within
// the bound; a step left unanswered ends the ones it governs.
#include <functional>
#include <stop_token>
#include <vector>

#include "link/Platform.h"
#include "link/Transport.h"

namespace tallyx {

// ask writes one request (not ok: it could not); read reads within a timeout.
using AskStep = std::function<Outcome(const QueryStep&)>;
using ReadSome = std::function<size_t(uint8_t* data, size_t capacity, int timeoutMs)>;

std::vector<QueryAnswer> RunSteps(Platform& platform, const std::vector<QueryStep>& steps, int boundMs,
                                  std::stop_token stop, const AskStep& ask, const ReadSome& read);
std::vector<QueryAnswer> FailAll(const std::vector<QueryStep>& steps, Outcome fault);

} // namespace tallyx
