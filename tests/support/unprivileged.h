// unprivileged.h - running a test's body where file permissions bind.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

// Runs `body` as it is, or, when the tests run as the superuser (as CI does),
// in a child process that first hands `folder` and everything in it to the
// unprivileged user "nobody" and becomes that user. Failures in the child fail
// the calling test.
void runUnprivileged(const std::string& folder, const std::function<void()>& body);

} // namespace testing_support
