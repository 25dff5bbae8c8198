#include "model/elements/ACElem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/sem.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "model/simulation/ClientCompiler.h"
#include "model/simulation/SharedMemory.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"
#include "tests/support/program/IpcNamespace.h"
#include "tests/support/program/ProgramDriver.h"

namespace {

// Inverts the plane; written with nested braces and a blank line, as users write code.
const char kInvert[] = "for (int y = 0; y < DIMY; y++) {\n"
                       "    for (int x = 0; x < DIMX; x++) {\n"
                       "\n"
                       "        out.SetBit(x, y, !in(x, y));\n"
                       "    }\n"
                       "}";

// Row 0 shows how many steps the client has made since it started.
const char kCounter[] = "static int calls = 0;\n"
                        "calls++;\n"
                        "for (int x = 0; x < calls; x++) out.SetBit(x, 0);";

// A C++ element of 3 x 2 planes holding the inverter, written at level 1.
const char* const kCBlock = R"(  TYPE: C++
  INTERNAL_DATA {
    NAME:       C++
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (3,2)
    OUTPUT_DIM: (3,2)
    CLOCK:      1
    TIME:       10
  }
  LOGICAL_DATA {
    LISTING:
for (int y = 0; y < DIMY; y++) {
    for (int x = 0; x < DIMX; x++) {

        out.SetBit(x, y, !in(x, y));
    }
}
  }
)";

const char* GnuCompiler() {
    return "g++";
}

bool IsReaped(int pid) {
    return kill(pid, 0) == -1 && errno == ESRCH;
}

class ACElemFixture : public ElementFixture {
protected:
    static void SetUpTestSuite() {
        SetCompilerSettingsSource({GnuCompiler, nullptr, nullptr});
        ACElem::RegisterType();
        inverter = new D_CElem(nullptr);
        inverter->SetCode(kInvert);
        const char* messages = nullptr;
        EXPECT_EQ(inverter->Compile(messages), 1) << messages;
    }
    static void TearDownTestSuite() {
        delete inverter;
        inverter = nullptr;
        SetCompilerSettingsSource({nullptr, nullptr, nullptr});
    }

    ACElemFixture() : element(nullptr, 0, 0) {
        Resize(element, 3, 2);
        element.CreateData();
    }

    // The inverter's executable, copied: no compile of its own.
    static void LoadInverter(ACElem& target) {
        target.GetData().Assign(*inverter);
        ASSERT_EQ(target.GetData().IsCompiled(), 1);
        ASSERT_GT(target.GetData().CreateProcess(), 0);
    }

    // One step of the element with the plane at its input; its output afterwards.
    static std::string Step(ACElem& target, const std::string& in) {
        *target.GetInputPlane(0) = PlaneFromText(in);
        target.Simulate();
        return PlaneText(*target.GetOutputPlane(0));
    }

    inline static D_CElem* inverter = nullptr;
    FakeElementUi ui;
    ACElem element;
};

using ACElemBlock = ACElemFixture;
using ACElemStep = ACElemFixture;
using ACElemClient = ACElemFixture;

} // namespace

TEST_F(ACElemBlock, WritesTheCodeUnchangedAndReadsItBackByteForByte) {
    element.GetData().SetCode(kInvert);
    EXPECT_EQ(WriteBlock(element, 1), kCBlock);

    D_CElem target(nullptr);
    EXPECT_EQ(ReadBlock(element, kCBlock, &target), 0);
    EXPECT_STREQ(target.GetCode(), kInvert);
    EXPECT_EQ(target.IsCompiled(), 0);
    EXPECT_EQ(WriteBlock(element, 1, &target), kCBlock);

    // Empty code is an empty line.
    element.GetData().SetCode("");
    const std::string empty = WriteBlock(element, 0);
    EXPECT_NE(empty.find("LOGICAL_DATA {\n  LISTING:\n\n}\n"), std::string::npos) << empty;
    EXPECT_EQ(ReadBlock(element, empty, &target), 0);
    EXPECT_STREQ(target.GetCode(), "");

    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(element.Write(failed, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

// The header of a read into given data (the modify window's copy) may give the element new
// planes: both that copy and the element's own code then work on the new input plane 0.
TEST_F(ACElemBlock, AReadIntoGivenDataBindsItAndTheElementsCodeToTheNewInputPlane) {
    Resize(element, 7, 3);
    element.GetData().SetPlane(element.GetInputPlane(0));
    D_CElem target(nullptr);
    ASSERT_EQ(ReadBlock(element, kCBlock, &target), 0);
    ASSERT_NE(element.GetInputPlane(0), nullptr);
    EXPECT_NE(element.GetInputPlaneWidth(0), 7);
    EXPECT_EQ(target.GetPlane(), element.GetInputPlane(0));
    EXPECT_EQ(element.GetData().GetPlane(), element.GetInputPlane(0));
}

TEST_F(ACElemBlock, TakesTheCodeUpToTheLineBeforeTheClosingBrace) {
    struct ListingCase {
        const char* listing; // after "LISTING:"
        const char* code;
    };
    const ListingCase kCases[] = {
        {" ignored\nx = 1;\n  }\n", "x = 1;"},
        {"\n\nx = 1;\n\n  }\n", "\nx = 1;\n"},
        {"\nx = 1; }\n", ""}, // no line end before the brace
        {"\n}\n", ""},
        {"\n{ a; }\nb;\n} rest of the line\n", "{ a; }\nb;"},
        {"\n#include <math.h>\n  }\n", "#include <math.h>"},
    };
    for (const ListingCase& c : kCases) {
        SCOPED_TRACE(c.listing);
        const std::string text =
            std::string(kCBlock).substr(0, std::string(kCBlock).find("LISTING:") + 8) + c.listing;
        D_CElem target(nullptr);
        EXPECT_EQ(ReadBlock(element, text, &target), 0);
        EXPECT_STREQ(target.GetCode(), c.code);
    }
}

// The closing line is not code; when it closes a brace of the code, what is left could never be
// written so that it reads back, so the block is refused.
TEST_F(ACElemBlock, ClosingLineThatClosesABraceOfTheCodeIsRefused) {
    const char* const kListings[] = {
        "\nint f() {\n  return 0; } }\n",
        "\n{\n{ a; }\n}} rest\n",
    };
    for (const char* listing : kListings) {
        SCOPED_TRACE(listing);
        const std::string text =
            std::string(kCBlock).substr(0, std::string(kCBlock).find("LISTING:") + 8) + listing;
        D_CElem target(nullptr);
        target.SetCode("target code");
        EXPECT_EQ(ReadBlock(element, text, &target), kUnexpectedChar);
        EXPECT_EQ(GetParseErrorLine(),
                  static_cast<int>(std::count(text.begin(), text.end(), '\n')));
        EXPECT_STREQ(target.GetCode(), "target code");
    }
}

TEST_F(ACElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"LOGICAL_DATA {", "LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"LOGICAL_DATA {", "LOGICAL_DATA", kKeywordExpected, 13, "{"},
        {"    LISTING:\n", "    LIST:\n", kKeywordExpected, 13, "LISTING:"},
        {"INPUTS:     1", "INPUTS:     x", kUnexpectedChar, 5, "INPUTS:"},
        // Cut off before the closing brace, or a brace too many in the code.
        {"    }\n}\n  }\n", "    }\n}\n", kUnexpectedEof, 19, ""},
        {"\n        out", "{\n        out", kUnexpectedEof, 20, ""},
    };
    for (const BrokenBlock& broken : kBroken) {
        ACElem read(nullptr, 0, 0);
        read.SetName("kept");
        read.GetData().SetCode("kept code");
        D_CElem target(nullptr);
        target.SetCode("target code");
        ExpectReadError(read, kCBlock, broken, &target);
        EXPECT_STREQ(target.GetCode(), "target code");
        ExpectReadError(read, kCBlock, broken);
        EXPECT_STREQ(read.GetName(), "kept");
        EXPECT_STREQ(read.GetData().GetCode(), "kept code");
        EXPECT_EQ(read.GetInputPlaneWidth(0), 16);
    }
}

TEST_F(ACElemBlock, ReadingCompilesStartsTheClientAndInvertsThePlane) {
    ACElem read(nullptr, 0, 0);
    ASSERT_EQ(ReadBlock(read, kCBlock), 0);
    EXPECT_EQ(GetParseError(), 0);
    EXPECT_EQ(read.GetData().IsCompiled(), 1);
    EXPECT_GT(read.GetData().GetPid(), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 3);
    EXPECT_EQ(Step(read, "100/011"), "011/100");
}

TEST_F(ACElemBlock, CodeThatDoesNotCompileIsReportedAndLeavesTheElementAsItWas) {
    std::string text = kCBlock;
    text.replace(text.find("        out.SetBit"), 8, "        undeclared_name; ");
    ACElem read(nullptr, 0, 0);
    read.SetName("kept");
    Resize(read, 4, 1);
    LoadInverter(read);
    const int pid = read.GetData().GetPid();
    EXPECT_EQ(ReadBlock(read, text), kCompilerError);
    EXPECT_EQ(GetParseError(), kCompilerError);
    EXPECT_EQ(GetParseErrorLine(), 20);
    ASSERT_NE(GetParseErrorToken(), nullptr);
    const std::string messages = GetParseErrorToken();
    // The error is on the code's fourth line.
    EXPECT_NE(messages.find("4:9: error:"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("Success"), std::string::npos);
    // The old code, header and client stay.
    EXPECT_STREQ(read.GetName(), "kept");
    EXPECT_EQ(read.GetInputPlaneWidth(0), 4);
    EXPECT_STREQ(read.GetData().GetCode(), kInvert);
    EXPECT_EQ(read.GetData().IsCompiled(), 1);
    EXPECT_EQ(read.GetData().GetPid(), pid);
    EXPECT_EQ(Step(read, "1010"), "0101");
}

// A compiler in a UTF-8 locale quotes names typographically; the error box's font cannot show that.
TEST_F(ACElemBlock, CompilerMessagesOfAReadHavePlainQuotes) {
    std::string text = kCBlock;
    text.replace(text.find("        out.SetBit"), 8, "        undeclared_name; ");
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old != nullptr ? old : "";
    setenv("LC_ALL", "C.UTF-8", 1);
    ACElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, text), kCompilerError);
    if (old != nullptr) {
        setenv("LC_ALL", saved.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
    ASSERT_NE(GetParseErrorToken(), nullptr);
    const std::string messages = GetParseErrorToken();
    EXPECT_NE(messages.find("'undeclared_name'"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("\xe2\x80"), std::string::npos) << messages;
}

struct ReadBackCase {
    const char* code;
    int readsBack;
};

const ReadBackCase kReadBack[] = {
    {"", 1},
    {kInvert, 1},
    {"out.SetBit(0, 0, '{' != 0);", 0},      // compiles, but one stays open
    {"// }\nif (1) {\n}", 0},                // closes before it opens
    {"const char* s = \"{}\"; (void)s;", 1}, // pairs, wherever it is
};

// What the reader could not read back must never be written.
TEST_F(ACElemBlock, CodeReadsBackOnlyWhenItsBracesPairUp) {
    for (const ReadBackCase& c : kReadBack) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(D_CElem::ListingReadsBack(c.code), c.readsBack);
        if (!c.readsBack) continue;
        ACElem written(nullptr, 0, 0);
        written.GetData().SetCode(c.code);
        std::ostringstream out;
        ASSERT_EQ(written.GetData().Write(out, 0), 0);
        std::istringstream in(out.str());
        std::string text;
        ASSERT_EQ(D_CElem::ReadListing(in, text), 0);
        EXPECT_EQ(text, c.code);
    }
}

TEST_F(ACElemStep, WithoutAClientTheStepSaysSoAndLeavesTheOutput) {
    EXPECT_EQ(element.GetClock(), 1);
    EXPECT_STREQ(element.GetData().GetCode(), "");
    EXPECT_EQ(element.GetData().IsCompiled(), 0);
    *element.GetOutputPlane(0) = PlaneFromText("101/010");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Step(element, "111/111"), "101/010");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "D_CElem::Simulate: process isn't running\n");
}

TEST_F(ACElemStep, PassesThePlaneThroughSharedMemoryWithoutStrayBits) {
    // 40 cells wide: two words a row, the second with padding. An open code window goes with the
    // old size.
    element.OpenModifyWindow();
    ASSERT_NE(element.GetModifyWindow(), nullptr);
    Resize(element, 40, 2);
    element.DimensionChanged();
    EXPECT_EQ(element.GetModifyWindow(), nullptr);
    EXPECT_EQ(element.GetData().GetPlane(), element.GetInputPlane(0));
    LoadInverter(element);
    const std::string in = "1011000000000000000000000000000011110000/"
                           "0000000000000000000000000000000100000001";
    const std::string inverted = "0100111111111111111111111111111100001111/"
                                 "1111111111111111111111111111111011111110";
    EXPECT_EQ(Step(element, in), inverted);
    EXPECT_EQ(*element.GetOutputPlane(0), PlaneFromText(inverted)); // padding included
    EXPECT_EQ(Step(element, inverted), in);
}

TEST_F(ACElemClient, EveryResetStartsAFreshClient) {
    Resize(element, 4, 1);
    element.DimensionChanged();
    element.GetData().SetCode(kCounter);
    const char* messages = nullptr;
    ASSERT_EQ(element.GetData().Compile(messages), 1) << messages;
    element.Reset();
    const int first = element.GetData().GetPid();
    ASSERT_GT(first, 0);
    EXPECT_EQ(Step(element, "0000"), "1000");
    EXPECT_EQ(Step(element, "0000"), "1100");

    element.Reset();
    EXPECT_TRUE(IsReaped(first));
    EXPECT_NE(element.GetData().GetPid(), first);
    EXPECT_EQ(Step(element, "0000"), "1000");
}

TEST_F(ACElemClient, DeletingTheElementStopsTheClientAndRemovesItsFiles) {
    ACElem* doomed = new ACElem(nullptr, 0, 0);
    Resize(*doomed, 3, 2);
    doomed->CreateData();
    LoadInverter(*doomed);
    const int pid = doomed->GetData().GetPid();
    const int set = doomed->GetData().GetSemaphoreSet();
    const std::string executable = doomed->GetData().GetExecutablePath();
    EXPECT_EQ(access(executable.c_str(), X_OK), 0);
    delete doomed;
    EXPECT_TRUE(IsReaped(pid)); // neither running nor a zombie
    EXPECT_EQ(semctl(set, 0, GETVAL), -1);
    EXPECT_NE(access(executable.c_str(), F_OK), 0);
}

TEST_F(ACElemClient, ACopyHasItsOwnExecutableAndClient) {
    LoadInverter(element);
    AElement* copy = AElement::Clone(element);
    ACElem* cCopy = dynamic_cast<ACElem*>(copy);
    ASSERT_NE(cCopy, nullptr);
    D_CElem& data = cCopy->GetData();
    EXPECT_STRNE(data.GetExecutablePath(), element.GetData().GetExecutablePath());
    EXPECT_EQ(access(data.GetExecutablePath(), X_OK), 0);
    EXPECT_GT(data.GetPid(), 0);
    EXPECT_NE(data.GetPid(), element.GetData().GetPid());
    EXPECT_EQ(data.GetPlane(), cCopy->GetInputPlane(0));

    // The code window's working copy: stopped, then given back.
    D_CElem working(data);
    working.StopProcess();
    element.GetData().StopProcess();
    element.GetData().Assign(working);
    EXPECT_EQ(element.GetData().IsCompiled(), 1);
    EXPECT_EQ(element.GetData().GetPid(), 0); // the working copy ran no client
    delete copy;
    EXPECT_EQ(Step(element, "110/001"), "001/110"); // starts one itself
}

TEST_F(ACElemClient, ALargerPlaneMovesEveryRunningClientToALargerSegment) {
    LoadInverter(element);
    ACElem large(nullptr, 0, 0);
    Resize(large, 3, 2);
    large.CreateData();
    LoadInverter(large);

    // One word a row: more rows than the segment holds words.
    const int rows = static_cast<int>(SharedBufferSize(D_CElem::SharedMemory) / 4) + 5;
    const int oldId = D_CElem::SharedMemoryId;
    Resize(large, 32, rows);
    large.DimensionChanged();
    EXPECT_NE(D_CElem::SharedMemoryId, oldId);
    EXPECT_GE(SharedBufferSize(D_CElem::SharedMemory), static_cast<uint32_t>(rows * 4));
    EXPECT_GT(large.GetData().GetPid(), 0);

    EXPECT_EQ(Step(element, "100/011"), "011/100");
    Matrix in(32, rows);
    in.SetBit(31, rows - 1, 1);
    *large.GetInputPlane(0) = in;
    large.Simulate();
    in.Nor(in); // inverted
    EXPECT_EQ(*large.GetOutputPlane(0), in);
}

// Marks in its 16 x 16 output every descriptor below 256 that is open in the client.
const char kDescriptors[] = "for (int fd = 0; fd < 256; fd++) {\n"
                            "    const int copy = dup(fd);\n"
                            "    if (copy == -1) continue;\n"
                            "    close(copy);\n"
                            "    out.SetBit(fd % 16, fd / 16);\n"
                            "}";

TEST_F(ACElemClient, AClientHasOnlyTheStandardDescriptors) {
    // A file the host has open as a client starts, as while a file is being read.
    const int file = open("/dev/null", O_RDONLY);
    ASSERT_GE(file, 3);
    Resize(element, 16, 16);
    element.DimensionChanged();
    element.GetData().SetCode(kDescriptors);
    const char* messages = nullptr;
    ASSERT_EQ(element.GetData().Compile(messages), 1) << messages;
    ASSERT_GT(element.GetData().CreateProcess(), 0);
    element.Simulate();
    close(file);
    Matrix expected(16, 16);
    for (int fd = 0; fd < 3; fd++)
        expected.SetBit(fd, 0, 1);
    EXPECT_EQ(PlaneText(*element.GetOutputPlane(0)), PlaneText(expected));
}

// Running, or a zombie nobody reaps: either way not yet gone.
bool IsGone(int pid) {
    const std::string stat = e2e::ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.substr(close + 2, 1) == "Z");
}

// A host killed outright: its clients end and take their semaphore sets with them.
TEST_F(ACElemClient, ClientsEndWithTheirHostKilledOutright) {
    QUIRAN_IN_PRIVATE_IPC_NAMESPACE();
    // This process's own segment stays.
    const std::string before = e2e::IpcObjects();
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    struct Host {
        ~Host() {
            if (pid > 0 && kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
        }
        pid_t pid;
    } host = {fork()};
    ASSERT_NE(host.pid, -1);
    if (host.pid == 0) {
        close(report[0]);
        ACElem a(nullptr, 0, 0), b(nullptr, 0, 0);
        for (ACElem* running : {&a, &b}) {
            Resize(*running, 3, 2);
            running->CreateData();
            running->GetData().Assign(*inverter);
            const int pid = running->GetData().CreateProcess();
            if (write(report[1], &pid, sizeof pid) != sizeof pid) _exit(1);
        }
        for (;;)
            pause();
    }
    close(report[1]);
    int clients[2] = {0, 0};
    for (int& client : clients)
        ASSERT_EQ(read(report[0], &client, sizeof client), static_cast<ssize_t>(sizeof client));
    close(report[0]);
    ASSERT_GT(clients[0], 0);
    ASSERT_GT(clients[1], 0);
    EXPECT_NE(e2e::IpcObjects(), before);
    ASSERT_EQ(kill(host.pid, SIGKILL), 0);
    ASSERT_EQ(waitpid(host.pid, nullptr, 0), host.pid);
    host.pid = 0;
    EXPECT_TRUE(e2e::WaitFor([&] { return IsGone(clients[0]) && IsGone(clients[1]); }, 5000));
    EXPECT_TRUE(e2e::WaitFor([&] { return e2e::IpcObjects() == before; }, 5000))
        << e2e::IpcObjects();
}

TEST_F(ACElemClient, AClientThatDiedIsNoticedAndStartedAgain) {
    LoadInverter(element);
    const int pid = element.GetData().GetPid();
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    *element.GetOutputPlane(0) = PlaneFromText("111/000");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Step(element, "100/011"), "111/000");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "D_CElem::Simulate: process isn't running\n");
    EXPECT_TRUE(IsReaped(pid));
    EXPECT_EQ(element.GetData().GetPid(), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(Step(element, "100/011"), "011/100");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "D_CElem::Simulate: process isn't running\n");
}
