#include "client/ClientProgram.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "model/data/Matrix.h"
#include "model/simulation/ClientCompiler.h"
#include "model/simulation/ClientProcess.h"
#include "model/simulation/SharedMemory.h"

namespace {

const char kFunctionLine[] =
    "static void Simulate(const Matrix &in, Matrix &out, const int &DIMX, const int &DIMY){\n";

// Copies the input when cell (0, 0) is set and writes nothing otherwise; a read outside the plane
// that gave anything but 0 would set the last cell, writes outside must change nothing.
const char kCode[] = R"(if (in(0, 0)) out = in;
if (in(-1, 0) || in(DIMX, 0) || in(0, -1) || in(0, DIMY)) out.SetBit(DIMX - 1, DIMY - 1);
out.SetBit(DIMX, 0);
out.SetBit(-1, 0);
out.SetBit(0, DIMY);)";

const char* GnuCompiler() {
    return "g++";
}

class ClientProgramRun : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetCompilerSettingsSource({GnuCompiler, nullptr, nullptr});
        const int fd = MakeTemporaryFile(executable, "");
        ASSERT_GE(fd, 0);
        close(fd);
        const char* messages = nullptr;
        compiled = CompileClient(kCode, executable, messages);
        EXPECT_EQ(compiled, 1) << messages;
    }
    static void TearDownTestSuite() {
        unlink(executable);
        SetCompilerSettingsSource({nullptr, nullptr, nullptr});
    }

    ClientProgramRun() : plane(32, 3) {
        segmentId = CreateSharedSegment(plane, segment);
        EXPECT_GE(segmentId, 0);
    }
    ~ClientProgramRun() override {
        client.Stop();
        if (segmentId >= 0) shmdt(segment);
    }

    void Start() {
        ASSERT_TRUE(compiled);
        ASSERT_GT(client.Start(executable, segmentId), 0);
        segment->op = INIT;
        segment->dim.x = plane.GetDimX();
        segment->dim.y = plane.GetDimY();
        ASSERT_EQ(client.Transact(), 1);
        ASSERT_EQ(segment->op, INIT_OK);
    }

    // One SIMULATE of the input; the answer, or an empty plane when there was none.
    Matrix Step(const Matrix& in, sm_struct*& through) {
        Matrix out(in.GetDimX(), in.GetDimY());
        through->op = SIMULATE;
        EXPECT_EQ(in.SetToBuffer(SharedBuffer(through), SharedBufferSize(through)), 1);
        EXPECT_EQ(client.Transact(), 1);
        EXPECT_EQ(through->op, SIMULATED);
        EXPECT_EQ(out.GetFromBuffer(SharedBuffer(through), SharedBufferSize(through)), 1);
        return out;
    }

    inline static char executable[kTemporaryPathLength + 1];
    inline static int compiled = 0;
    Matrix plane;
    sm_struct* segment = nullptr;
    int segmentId = -1;
    ClientProcess client;
};

} // namespace

TEST(ClientProgram, SourceIsPrologueFunctionCodeAndClosingBrace) {
    const std::string prologue = ClientPrologue();
    EXPECT_EQ(MakeClientSource("out = in;"), prologue + kFunctionLine + "out = in;\n}\n");
    EXPECT_EQ(MakeClientSource(""), prologue + kFunctionLine + "\n}\n");
    EXPECT_STREQ(kClientFunctionLine, kFunctionLine);

    size_t lines = 0;
    for (char c : prologue)
        lines += c == '\n';
    EXPECT_EQ(ClientPrologueLines(), static_cast<int>(lines) + 1);
    ASSERT_EQ(prologue.back(), '\n');

    // The operation codes are fixed numbers shared with the host.
    const char* const codes[] = {"INIT = -100,",     "INIT_OK = -99,",    "SIMULATE = -98,",
                                 "SIMULATED = -97,", "CHANGE_DIM = -96,", "CHANGE_DIM_OK = -95,",
                                 "NEW_SHM = -94,",   "NEW_SHM_OK = -93,", "EXIT_REQUEST = -92\n"};
    for (const char* code : codes)
        EXPECT_NE(prologue.find(code), std::string::npos) << code;
    EXPECT_EQ(INIT, -100);
    EXPECT_EQ(EXIT_REQUEST, -92);
}

// One definition of the header: the file the host compiles is in every client's source as it
// stands, and the host sizes the segment by it.
TEST(ClientProgram, HoldsTheHostsSegmentHeaderWordForWord) {
    std::ifstream file(QUIRAN_SOURCE_DIR "/client/SegmentHeader.h");
    std::stringstream header;
    header << file.rdbuf();
    ASSERT_GT(header.str().size(), 100u);
    EXPECT_EQ(header.str(), kSegmentHeaderText);
    EXPECT_NE(ClientPrologue().find(header.str()), std::string::npos);
    EXPECT_EQ(sizeof(sm_struct), sizeof(void*) == 8 ? 32u : 20u);
    sm_struct segment[2];
    EXPECT_EQ(SharedBuffer(&segment[0]), static_cast<void*>(&segment[1]));
}

TEST_F(ClientProgramRun, CopiesWithAssignmentClearsOutputAndKeepsOutsideUntouched) {
    Start();
    Matrix in(32, 3, 1);
    in.ClearBit(31, 2);
    EXPECT_EQ(Step(in, segment), in);

    // The previous answer is not where the next one starts: nothing written is all zero.
    in.ClearBit(0, 0);
    EXPECT_EQ(Step(in, segment), Matrix(32, 3));
}

TEST_F(ClientProgramRun, RefusesABufferSmallerThanThePlane) {
    Start();
    Matrix in(32, 3, 1);
    ASSERT_EQ(in.SetToBuffer(SharedBuffer(segment), SharedBufferSize(segment)), 1);
    segment->op = SIMULATE;
    segment->buf_size = plane.GetBufferSize() - 1;
    ASSERT_EQ(client.Transact(), 1);
    EXPECT_EQ(segment->op, SIMULATED);
    // Neither read nor written: the buffer still holds the input.
    segment->buf_size = plane.GetBufferSize();
    Matrix left(32, 3);
    ASSERT_EQ(left.GetFromBuffer(SharedBuffer(segment), SharedBufferSize(segment)), 1);
    EXPECT_EQ(left, in);
}

TEST_F(ClientProgramRun, MovesToANewSegmentAndAnswersTheMoveInTheOld) {
    Start();
    Matrix larger(64, 8);
    sm_struct* fresh = nullptr;
    const int freshId = CreateSharedSegment(larger, fresh);
    ASSERT_GE(freshId, 0);

    segment->op = NEW_SHM;
    segment->new_shm_id = freshId;
    ASSERT_EQ(client.Transact(), 1);
    EXPECT_EQ(segment->op, NEW_SHM_OK);

    // From now on only the new segment is read and written.
    segment->op = INIT;
    Matrix in(32, 3, 1);
    EXPECT_EQ(Step(in, fresh), in);
    EXPECT_EQ(segment->op, INIT);
    shmdt(fresh);
}

TEST_F(ClientProgramRun, ACrashReportsTheSignalAndRemovesTheSemaphoreSet) {
    testing::internal::CaptureStdout();
    Start();
    const int set = client.GetSemaphoreSet();
    ASSERT_EQ(kill(client.GetPid(), SIGSEGV), 0);
    // The waiting host learns of the end at once instead of waiting for ever.
    segment->op = SIMULATE;
    EXPECT_EQ(client.Transact(), 0);
    EXPECT_EQ(client.GetPid(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "QUIRAN: Client got signal 11\n");
    EXPECT_EQ(semctl(set, 0, GETVAL), -1);
    EXPECT_EQ(errno, EINVAL);
}
