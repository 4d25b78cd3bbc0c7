// The binary contract of both deliverables, read with binutils.
#include "support.h"

#include <regex>
#include <set>
#include <sstream>

namespace {

// Whatever a shell command prints.
std::string commandOutput(const std::string &command)
{
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    char chunk[4096];
    size_t n;
    while (pipe != nullptr && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.append(chunk, n);
    if (pipe != nullptr)
        pclose(pipe);
    return out;
}

// The bracketed values of every dynamic-section line tagged tag.
std::set<std::string> dynamicEntries(const char *file, const std::string &tag)
{
    std::set<std::string> values;
    std::istringstream lines(commandOutput(std::string("readelf -dW ") + file));
    for (std::string line; std::getline(lines, line);) {
        size_t open = line.find('[');
        if (line.find("(" + tag + ")") != std::string::npos && open != std::string::npos)
            values.insert(line.substr(open + 1, line.find(']') - open - 1));
    }
    return values;
}

// Names of the dynamic symbols nm lists with the given options.
std::set<std::string> dynamicSymbols(const char *file, const char *options)
{
    std::set<std::string> names;
    std::istringstream lines(commandOutput(std::string("nm -D ") + options + " " + file));
    for (std::string line; std::getline(lines, line);)
        names.insert(line.substr(line.rfind(' ') + 1));
    return names;
}

const std::set<std::string> kLibcOnly = {"libc.so.6"};

TEST(ElfContract, LibraryIsNamedIfenumAndNeedsOnlyLibc)
{
    EXPECT_EQ(dynamicEntries(IFENUM_LIBRARY, "SONAME"), std::set<std::string>{"ifenum"});
    EXPECT_EQ(dynamicEntries(IFENUM_LIBRARY, "NEEDED"), kLibcOnly);
    std::string dynamic = commandOutput(std::string("readelf -dW ") + IFENUM_LIBRARY);
    EXPECT_EQ(dynamic.find("TEXTREL"), std::string::npos) << dynamic;
    EXPECT_NE(dynamic.find("(SONAME)"), std::string::npos) << "not a shared object";
}

TEST(ElfContract, LibraryExportsExactlyTheRoutineAndMain)
{
    std::set<std::string> want = {"getEthernetDetails", "main"};
    EXPECT_EQ(dynamicSymbols(IFENUM_LIBRARY, "--defined-only"), want);
}

TEST(ElfContract, ProgramIsAPieNeedingOnlyLibc)
{
    EXPECT_EQ(dynamicEntries(IFREPORT_PROGRAM, "NEEDED"), kLibcOnly);
    std::string dynamic = commandOutput(std::string("readelf -dW ") + IFREPORT_PROGRAM);
    EXPECT_TRUE(std::regex_search(dynamic, std::regex("\\(FLAGS_1\\) +Flags:.* PIE"))) << dynamic;
    EXPECT_EQ(dynamic.find("ifenum"), std::string::npos) << dynamic;
    std::set<std::string> imports = dynamicSymbols(IFREPORT_PROGRAM, "--undefined-only");
    EXPECT_EQ(imports.count("getEthernetDetails"), 0U);
}

TEST(ElfContract, LibraryMainHonoursAnInterposedRoutine)
{
    RunResult run = runProgram({IFENUM_INTERPOSER, IFENUM_LIBRARY});
    EXPECT_EQ(run.out, "ifName fake0 ifIndex 7 ifSpeed -1 ifErrorCode : 5 \n");
    EXPECT_EQ(run.status, 1);
}

} // namespace
