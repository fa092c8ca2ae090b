// Allocation counting for "no allocation on this path" tests: a program that links
// CountingNew.cpp counts every operator new it makes, on every thread.
#pragma once

namespace testsupport {

long long AllocationCount();

}  // namespace testsupport
