#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SetupAppCommandLineInfo.h"

namespace {

CSetupAppCommandLineInfo Parse(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"setup.exe");
    CSetupAppCommandLineInfo info;
    fw::FeedArguments(info, args);
    return info;
}

// The fields a row checks; a row leaves a field at its default unless it says otherwise.
struct Expect {
    bool syntaxError = false;
    int32_t uiLevel = 133;
    uint32_t logMode = 919;
    uint32_t logAttributes = 0;
    std::wstring logFile;
    bool repair = false;
    uint32_t reinstallMode = 0;
    bool uninstall = false, extract = false, administrative = false, help = false, validate = false;
    std::vector<std::wstring> properties;
    std::wstring transforms;
    bool keepFastOem = false;
    std::wstring language, subPackages, workload, mifFile;
};

struct Row {
    std::vector<std::wstring> args;
    Expect expect;
};

std::string Show(const std::vector<std::wstring>& args) {
    std::string s;
    for (const auto& a : args) s += std::string(a.begin(), a.end()) + " ";
    return s;
}

class CommandLineTable : public testing::TestWithParam<Row> {};

TEST_P(CommandLineTable, ArgumentsGiveFields) {
    const Row& row = GetParam();
    const auto info = Parse(row.args);
    const Expect& e = row.expect;
    SCOPED_TRACE(Show(row.args));
    EXPECT_EQ(info.SyntaxError(), e.syntaxError);
    EXPECT_EQ(info.UILevel(), e.uiLevel);
    EXPECT_EQ(info.LogMode(), e.logMode);
    EXPECT_EQ(info.LogAttributes(), e.logAttributes);
    EXPECT_EQ(info.LogFile(), e.logFile);
    EXPECT_EQ(info.Repair(), e.repair);
    EXPECT_EQ(info.ReinstallMode(), e.reinstallMode);
    EXPECT_EQ(info.Uninstall(), e.uninstall);
    EXPECT_EQ(info.Extract(), e.extract);
    EXPECT_EQ(info.Administrative(), e.administrative);
    EXPECT_EQ(info.Help(), e.help);
    EXPECT_EQ(info.Validate(), e.validate);
    EXPECT_EQ(info.Properties(), e.properties);
    EXPECT_EQ(info.Transforms(), e.transforms);
    EXPECT_EQ(info.KeepFastOem(), e.keepFastOem);
    EXPECT_EQ(info.Language(), e.language);
    EXPECT_EQ(info.SubPackages(), e.subPackages);
    EXPECT_EQ(info.Workload(), e.workload);
    EXPECT_EQ(info.MifFile(), e.mifFile);
}

Expect E(void (*set)(Expect&)) {
    Expect e;
    set(e);
    return e;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTable,
    testing::Values(
        // UI levels: letters after q are lower case; + adds the end dialog.
        Row{{L"/QN+"}, E([](Expect& e) { e.syntaxError = true; })},
        Row{{L"/Qn+"}, E([](Expect& e) { e.uiLevel = 130; })},
        Row{{L"/qb+x"}, E([](Expect& e) { e.syntaxError = true; e.uiLevel = 133; })},
        Row{{L"/q"}, E([](Expect& e) { e.uiLevel = 2; })},
        Row{{L"-q+"}, E([](Expect& e) { e.uiLevel = 130; })},
        Row{{L"/qr"}, E([](Expect& e) { e.uiLevel = 4; })},
        Row{{L"/qf+"}, E([](Expect& e) { e.uiLevel = 133; })},
        Row{{L"/qx"}, E([](Expect& e) { e.syntaxError = true; })},
        // Logging: /L alone keeps the default letters and takes the next argument.
        Row{{L"/L", L"log.txt"}, E([](Expect& e) { e.logFile = L"log.txt"; })},
        Row{{L"/L*vx", L"C:\\a b\\log.txt"}, E([](Expect& e) { e.logMode = 3999 + 4096 + 8192; e.logFile = L"C:\\a b\\log.txt"; })},
        Row{{L"/Le+!", L"l.txt"}, E([](Expect& e) { e.logMode = 2; e.logAttributes = 3; e.logFile = L"l.txt"; })},
        Row{{L"/Lx", L"lang=german", L"l.txt"}, E([](Expect& e) { e.logMode = 8192; e.language = L"german"; e.logFile = L"l.txt"; })},
        Row{{L"/L"}, E([](Expect&) {})},
        // Repair letters.
        Row{{L"/f"}, E([](Expect& e) { e.repair = true; e.reinstallMode = 1984; })},
        Row{{L"/fpo"}, E([](Expect& e) { e.repair = true; e.reinstallMode = 6; })},
        Row{{L"/fa"}, E([](Expect& e) { e.repair = true; e.reinstallMode = 64; })},
        Row{{L"/Fvz"}, E([](Expect& e) { e.repair = true; e.reinstallMode = 1024; })},
        // Mode switches exclude each other.
        Row{{L"/x", L"/u"}, E([](Expect& e) { e.uninstall = true; e.syntaxError = true; })},
        Row{{L"/a", L"/f"}, E([](Expect& e) { e.administrative = true; e.syntaxError = true; })},
        Row{{L"/X"}, E([](Expect& e) { e.uninstall = true; })},
        Row{{L"/u"}, E([](Expect& e) { e.extract = true; })},
        Row{{L"/?"}, E([](Expect& e) { e.help = true; })},
        Row{{L"/H", L"/v"}, E([](Expect& e) { e.help = true; e.validate = true; })},
        Row{{L"/z"}, E([](Expect& e) { e.syntaxError = true; })},
        Row{{L"/m", L"status.mif", L"/L", L"log.txt"}, E([](Expect& e) { e.mifFile = L"status.mif"; e.logFile = L"log.txt"; })},
        // Properties: quoting, stripping, empty values.
        Row{{L"INSTALLDIR=C:\\My Folder"}, E([](Expect& e) { e.properties = {L"INSTALLDIR=\"C:\\My Folder\""}; })},
        Row{{L"NAME="}, E([](Expect& e) { e.properties = {L"NAME=\"\""}; })},
        Row{{L" PORT =\t 80 "}, E([](Expect& e) { e.properties = {L"PORT=80"}; })},
        Row{{L"TEXT=\"a b\""}, E([](Expect& e) { e.properties = {L"TEXT=\"a b\""}; })},
        Row{{L"noproperty"}, E([](Expect& e) { e.syntaxError = true; })},
        Row{{L"=value"}, E([](Expect& e) { e.syntaxError = true; })},
        // FASTOEM=1 stays only on a quiet per-machine install.
        Row{{L"FASTOEM=1"}, E([](Expect&) {})},
        Row{{L"/qn", L"ALLUSERS=1", L"FASTOEM=1"}, E([](Expect& e) {
            e.uiLevel = 2; e.properties = {L"ALLUSERS=1", L"FASTOEM=1"}; e.keepFastOem = true; })},
        Row{{L"/qn", L"/x", L"ALLUSERS=1", L"FASTOEM=1"}, E([](Expect& e) {
            e.uiLevel = 2; e.uninstall = true; e.properties = {L"ALLUSERS=1"}; })},
        Row{{L"/qn", L"FASTOEM=1", L"ALLUSERS=1", L"fastoem=1"}, E([](Expect& e) {
            e.uiLevel = 2; e.properties = {L"FASTOEM=1", L"ALLUSERS=1", L"fastoem=1"}; e.keepFastOem = true; })},
        // Keywords.
        Row{{L"TRANSFORMS=a.mst", L"TRANSFORMS=b.mst"}, E([](Expect& e) { e.transforms = L"a.mst"; e.properties = {L"TRANSFORMS=b.mst"}; })},
        Row{{L"transforms=:de.mst;x.mst"}, E([](Expect& e) { e.transforms = L":de.mst;x.mst"; })},
        Row{{L"LANG=German", L"lang=Japanese"}, E([](Expect& e) { e.language = L"Japanese"; })},
        Row{{L"subPackages=\"Tools,Docs\""}, E([](Expect& e) { e.subPackages = L"Tools,Docs"; })},
        Row{{L"SUBPACKAGES=All"}, E([](Expect&) {})},
        Row{{L"workload=\"C:\\w.json\""}, E([](Expect& e) { e.workload = L"C:\\w.json"; })}));

TEST(CommandLineMask, ServicePasswordsNeverReachTheLog) {
    struct Case {
        const wchar_t* line;
        const wchar_t* masked;
    } cases[] = {
        {L"setup.exe /qn SK_Service_Password=secret", L"setup.exe /qn SK_Service_Password=***"},
        {L"setup.exe \"VX_Service_Password=my secret\" X=1", L"setup.exe \"VX_Service_Password=***\" X=1"},
        {L"setup.exe TDS_Service_Password=\"a b\" /L*v l.txt", L"setup.exe TDS_Service_Password=*** /L*v l.txt"},
        {L"setup.exe SK_Service_Username=me SK_service_password=x", L"setup.exe SK_Service_Username=me SK_service_password=x"},
        {L"setup.exe %s%d", L"setup.exe %s%d"},
    };
    for (const Case& c : cases) EXPECT_EQ(MaskCommandLineSecrets(c.line), c.masked);
}

}  // namespace
