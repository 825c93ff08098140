// Cancelling an extraction. The cancel request is process-wide and is never
// taken back, so these cases run in their own program, in this order.
#include "ExtractionTestSupport.h"
#include "engine/CancelFlag.h"

namespace extraction_test {
namespace {

TEST_F(ExtractionTest, CancelDuringAndBeforeAPackage) {
    auto packages = std::vector<std::unique_ptr<SetupPackage>>();
    packages.push_back(std::make_unique<SetupPackage>(Facts(code, L"PACKAGE_7"), true, CommandLine({}), false));

    // During: the request comes once the package file is being written.
    RecordingSink sink;
    bool fileSeen = false;
    sink.onProgress = [&](int) {
        if (!fileSeen && !MsiFiles(folder).empty()) {
            fileSeen = true;
            RequestCancel();
        }
    };
    ASSERT_FALSE(CancelRequested());
    EXPECT_EQ(ExtractPackage(*packages.front(), &sink, English()), 1603);
    EXPECT_TRUE(fileSeen) << "the package file was never seen while it was written";
    EXPECT_EQ(app.Result().code, 3);
    EXPECT_TRUE(MsiFiles(folder).empty());
    EXPECT_EQ(packages.front()->PackageFile(), L"");

    // Before: nothing is read at all.
    app.SetResult(0, 0, false);
    EXPECT_EQ(ExtractPackage(*packages.front(), &sink, English()), 1603);
    EXPECT_EQ(app.Result().code, 3);
    EXPECT_TRUE(MsiFiles(folder).empty());

    const std::wstring text = LogText();
    EXPECT_EQ(text, L"QVR (c): Extracting resource: PACKAGE_7\r\n");  // once, and no error line
}

}  // namespace
}  // namespace extraction_test
