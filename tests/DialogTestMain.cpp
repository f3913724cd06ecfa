// The dialog tests run the dialogs on this main thread; the driver's scripts
// run beside it.
#include "DialogDriver.h"
#include <commctrl.h>
#include <cstdio>
#include "model/HotKey.h"

#ifdef ZINDRAL_I686_TESTS
// GoogleTest hands every failure and skip to OutputDebugStringA as well,
// which raises an exception; under 32-bit Wine through qemu its unwinding
// takes the process down. This printer prints a test's results itself, to
// the output only, and passes on the other events that GoogleTest prints for.
class OutputOnlyPrinter : public testing::EmptyTestEventListener {
public:
    explicit OutputOnlyPrinter(testing::TestEventListener* printer) : printer(printer) {}
    ~OutputOnlyPrinter() override { delete printer; }

    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (result.passed())
            return;
        const char* kind = result.skipped() ? "Skipped" : "Failure";
        if (result.file_name())
            std::printf("%s:%d: %s\n%s\n", result.file_name(), result.line_number(), kind, result.message());
        else
            std::printf("%s\n%s\n", kind, result.message());
        std::fflush(stdout);
    }
    void OnTestIterationStart(const testing::UnitTest& u, int i) override { printer->OnTestIterationStart(u, i); }
    void OnEnvironmentsSetUpStart(const testing::UnitTest& u) override { printer->OnEnvironmentsSetUpStart(u); }
    void OnTestStart(const testing::TestInfo& t) override { printer->OnTestStart(t); }
    void OnTestDisabled(const testing::TestInfo& t) override { printer->OnTestDisabled(t); }
    void OnTestEnd(const testing::TestInfo& t) override { printer->OnTestEnd(t); }
    void OnEnvironmentsTearDownStart(const testing::UnitTest& u) override { printer->OnEnvironmentsTearDownStart(u); }
    void OnTestIterationEnd(const testing::UnitTest& u, int i) override { printer->OnTestIterationEnd(u, i); }

private:
    testing::TestEventListener* printer;
};
#endif

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ConstructHotKeys();
    ui::InstallOn(GetCurrentThreadId());
    testing::InitGoogleTest(&argc, argv);
#ifdef ZINDRAL_I686_TESTS
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new OutputOnlyPrinter(listeners.Release(listeners.default_result_printer())));
#endif
    int result = RUN_ALL_TESTS();
    DestroyHotKeys();
    return result;
}
