#pragma once
// Refused access cannot be provoked as root, who reads everything. Such cases
// run their body in a child process that has dropped to the unprivileged user
// 65534 ("nobody"); the body's text result comes back through a pipe.

#include <functional>
#include <string>

namespace quillan::test {

// Runs `body` as an unprivileged user (in a child process when this process
// is root, directly otherwise) and returns what it returned. A child that
// fails or crashes gives a text starting with "child failed".
std::string RunAsUnprivileged(const std::function<std::string()> &body);

} // namespace quillan::test
