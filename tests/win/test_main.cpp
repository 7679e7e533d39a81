// The Windows test programs' main: GoogleTest's own, except that a failure
// (or a skip) is printed without OutputDebugString. GoogleTest's printer also
// hands every failure to a debugger that way, and 32-bit Wine run by
// qemu-user unwinds the exception OutputDebugString raises wrongly: the
// program died there ("stack smashing detected", from the host side), so one
// failing check in the 32-bit suite took the rest of its program's cases
// with it, unreported.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using ::testing::TestEventListener;
using ::testing::TestInfo;
using ::testing::TestPartResult;
using ::testing::TestSuite;
using ::testing::UnitTest;

// Everything goes to GoogleTest's own printer but the failures, printed here
// as it prints them.
class PrinterWithoutDebugger : public TestEventListener {
public:
    explicit PrinterWithoutDebugger(TestEventListener* printer) : printer_(printer) {}

    void OnTestPartResult(const TestPartResult& result) override {
        if (result.type() == TestPartResult::kSuccess) return;
        std::printf("%s %s%s\n",
                    ::testing::internal::FormatFileLocation(result.file_name(),
                                                            result.line_number())
                        .c_str(),
                    result.skipped() ? "Skipped\n" : "Failure\n", result.message());
        std::fflush(stdout);
    }

    void OnTestProgramStart(const UnitTest& u) override { printer_->OnTestProgramStart(u); }
    void OnTestIterationStart(const UnitTest& u, int i) override {
        printer_->OnTestIterationStart(u, i);
    }
    void OnEnvironmentsSetUpStart(const UnitTest& u) override {
        printer_->OnEnvironmentsSetUpStart(u);
    }
    void OnEnvironmentsSetUpEnd(const UnitTest& u) override { printer_->OnEnvironmentsSetUpEnd(u); }
    // The printer answers to one of each pair, the suite or the older case name.
    void OnTestSuiteStart(const TestSuite& s) override { printer_->OnTestSuiteStart(s); }
    void OnTestCaseStart(const TestSuite& s) override { printer_->OnTestCaseStart(s); }
    void OnTestStart(const TestInfo& t) override { printer_->OnTestStart(t); }
    void OnTestDisabled(const TestInfo& t) override { printer_->OnTestDisabled(t); }
    void OnTestEnd(const TestInfo& t) override { printer_->OnTestEnd(t); }
    void OnTestSuiteEnd(const TestSuite& s) override { printer_->OnTestSuiteEnd(s); }
    void OnTestCaseEnd(const TestSuite& s) override { printer_->OnTestCaseEnd(s); }
    void OnEnvironmentsTearDownStart(const UnitTest& u) override {
        printer_->OnEnvironmentsTearDownStart(u);
    }
    void OnEnvironmentsTearDownEnd(const UnitTest& u) override {
        printer_->OnEnvironmentsTearDownEnd(u);
    }
    void OnTestIterationEnd(const UnitTest& u, int i) override {
        printer_->OnTestIterationEnd(u, i);
    }
    void OnTestProgramEnd(const UnitTest& u) override { printer_->OnTestProgramEnd(u); }

private:
    std::unique_ptr<TestEventListener> printer_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = UnitTest::GetInstance()->listeners();
    if (TestEventListener* printer = listeners.default_result_printer()) {
        listeners.Release(printer);
        listeners.Append(new PrinterWithoutDebugger(printer));
    }
    return RUN_ALL_TESTS();
}
