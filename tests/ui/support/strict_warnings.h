#pragma once
// Makes every Qt warning fail the running test function, but for the few
// the web engine prints on its own (see strict_warnings.cpp). Call it from
// each test class's init(): Qt forgets the rule after every test function.
namespace sorvi::testing {

void FailOnUnexpectedWarnings();

}  // namespace sorvi::testing
