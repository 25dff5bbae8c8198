#include "model/elements/ACElem.h"

#include <sys/shm.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <istream>
#include <ostream>

#include "model/elements/ElementUi.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "model/simulation/PrivateDirectory.h"
#include "model/simulation/SharedMemory.h"

PtrArray<D_CElem> D_CElem::Instances;
sm_struct* D_CElem::SharedMemory = nullptr;
int D_CElem::SharedMemoryId = -1;

namespace {

// Made after the registry and so destroyed before it: at program exit no client stays blocked on
// its semaphores and no executable stays in the temporary directory, whatever was not deleted.
struct CElemListAtExit {
    CElemListAtExit() = default;
    CElemListAtExit(const CElemListAtExit&) = delete;
    CElemListAtExit& operator=(const CElemListAtExit&) = delete;
    ~CElemListAtExit() { D_CElem::ReleaseAll(); }
} cElemListAtExit;

// The side of a plane the first segment is made for, in cells.
const int kFirstSegmentSide = 20;

// Gives path a new temporary file's name; the file stays, empty, until the compiler writes it.
void MakeExecutableName(char (&path)[D_CElem::kExecutablePathSize]) {
    const int fd = MakeTemporaryFile(path, "");
    if (fd == -1) {
        std::cerr << "Error: Cannot create temporary file!" << std::endl;
        return;
    }
    if (close(fd) == -1) std::perror("D_CElem::D_CElem: close");
}

} // namespace

D_CElem::D_CElem(Matrix* boundPlane) : plane(boundPlane), compiled(0) {
    Instances.Add(this);
    executable[0] = '\0';
    MakeExecutableName(executable);
}

D_CElem::D_CElem(const D_CElem& other)
    : FileArgument(other), plane(other.plane), code(other.code), compiled(0) {
    Instances.Add(this);
    executable[0] = '\0';
    MakeExecutableName(executable);
    if (other.compiled) compiled = CopyFile(other.executable, executable) ? 1 : 0;
    if (other.GetPid() > 0) CreateProcess();
}

D_CElem::~D_CElem() {
    Instances.Remove(this);
    StopProcess();
    RemoveExecutable();
}

void D_CElem::RemoveExecutable() {
    if (executable[0] == '\0') return;
    if (unlink(executable) == -1 && errno != ENOENT) std::perror("D_CElem::~D_CElem: unlink");
}

void D_CElem::Assign(const D_CElem& other) {
    if (this == &other) return;
    StopProcess();
    code = other.code;
    compiled = other.compiled && CopyFile(other.executable, executable) ? 1 : 0;
    if (other.GetPid() > 0) CreateProcess();
}

void D_CElem::SetCode(const char* text) {
    if (text == nullptr) text = "";
    if (code == text) return;
    code = text;
    compiled = 0;
}

int D_CElem::Compile(const char*& messages) {
    compiled = CompileClient(code.c_str(), executable, messages);
    return compiled;
}

int D_CElem::CreateProcess() {
    if (!compiled) return -1;
    StopProcess();
    if (plane == nullptr) {
        std::cerr << "D_CElem::CreateProcess: no plane" << std::endl;
        return -1;
    }
    // A segment that could not be made at start-up is tried again.
    if (SharedMemory == nullptr) InitSharedMemory();
    if (SharedMemory == nullptr) return -1;
    if (process.Start(executable, SharedMemoryId) < 0) return -1;
    if (!SendInit()) return -1;
    return GetPid();
}

void D_CElem::StopProcess() {
    process.Stop();
}

void D_CElem::Restart() {
    StopProcess();
    CreateProcess();
}

int D_CElem::SendInit() {
    SharedMemory->op = INIT;
    SharedMemory->dim.x = plane->GetDimX();
    SharedMemory->dim.y = plane->GetDimY();
    if (!Transact() || SharedMemory->op != INIT_OK) return 0;
    if (SharedBufferSize(SharedMemory) >= plane->GetBufferSize()) return 1;
    return GrowSharedMemory();
}

int D_CElem::SendNewShm(int id) {
    SharedMemory->op = NEW_SHM;
    SharedMemory->new_shm_id = id;
    return Transact() && SharedMemory->op == NEW_SHM_OK;
}

int D_CElem::GrowSharedMemory() {
    sm_struct* fresh = nullptr;
    const int id = CreateSharedSegment(*plane, fresh);
    if (id < 0) return 0;
    // Every client answers through the old segment, so all move before it is given up.
    for (int i = 0; i < Instances.GetCount(); i++) {
        D_CElem* other = Instances[i];
        if (other->GetPid() > 0 && !other->SendNewShm(id)) other->StopProcess();
    }
    sm_struct* old = SharedMemory;
    SharedMemory = fresh;
    SharedMemoryId = id;
    if (old != nullptr && shmdt(old) == -1) {
        std::perror("D_CElem::GrowSharedMemory: shmdt");
        return 0;
    }
    return 1;
}

int D_CElem::Rebind(Matrix* newPlane) {
    plane = newPlane;
    StopProcess();
    if (plane == nullptr) return 0;
    if (SharedMemory != nullptr && SharedBufferSize(SharedMemory) < plane->GetBufferSize() &&
        !GrowSharedMemory()) {
        return 0;
    }
    return CreateProcess() == -1 ? 0 : 1;
}

void D_CElem::Simulate(ACElem* element) {
    if (GetPid() < 1) {
        std::cerr << "D_CElem::Simulate: process isn't running\n";
        CreateProcess();
        if (GetPid() < 1) return;
    }
    Matrix* in = element != nullptr ? element->GetInputPlane(0) : nullptr;
    Matrix* out = element != nullptr ? element->GetOutputPlane(0) : nullptr;
    if (in == nullptr || out == nullptr || SharedMemory == nullptr) return;

    SharedMemory->op = SIMULATE;
    if (!in->SetToBuffer(SharedBuffer(SharedMemory), SharedBufferSize(SharedMemory))) return;
    if (!Transact(1)) {
        if (GetPid() < 1) std::cerr << "D_CElem::Simulate: process isn't running\n";
        return;
    }
    if (SharedMemory->op != SIMULATED) {
        std::cerr << "Server::SM->op=" << static_cast<int>(SharedMemory->op) << "\n";
        return;
    }
    // The client answers in the input plane's size.
    if (SamePlaneSize(*out, *in)) {
        out->GetFromBuffer(SharedBuffer(SharedMemory), SharedBufferSize(SharedMemory));
    } else {
        Matrix result(in->GetDimX(), in->GetDimY());
        if (result.GetFromBuffer(SharedBuffer(SharedMemory), SharedBufferSize(SharedMemory))) {
            CopyPlane(*out, result);
        }
    }
}

int D_CElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "LISTING:\n";
    out << code << "\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_CElem::ReadListing(std::istream& in, std::string& text) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "LISTING:")) != kNoError) return code;
    // The line reader has taken the rest of the "LISTING:" line; the code begins on the next.
    // NOTE: braces in the user's strings and comments count like any other.
    std::string read;
    size_t lastLineEnd = std::string::npos;
    int balance = 0;
    int balanceAtLineEnd = 0;
    for (;;) {
        const int c = in.get();
        if (c == std::char_traits<char>::eof()) {
            if (in.bad()) return SetReadError(in, kIoError, nullptr);
            return SetReadError(in, kUnexpectedEof, nullptr);
        }
        if (c == '{') {
            balance++;
        } else if (c == '}' && --balance < 0) {
            break;
        }
        if (c == '\n') {
            lastLineEnd = read.size();
            balanceAtLineEnd = balance;
        }
        read.push_back(static_cast<char>(c));
    }
    // The closing line is not code: when it closes a brace of the code, the code left would
    // swallow the block's own closing brace when read again.
    if (balanceAtLineEnd != 0) return SetReadError(in, kUnexpectedChar, "}");
    // The closing brace is read again as the block's end; its line is not part of the code,
    // nor is the line end the writer put after the code.
    in.unget();
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    text = lastLineEnd == std::string::npos ? std::string() : read.substr(0, lastLineEnd);
    return kNoError;
}

int D_CElem::ListingReadsBack(const char* text) {
    long balance = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '{') {
            balance++;
        } else if (*p == '}' && --balance < 0) {
            return 0;
        }
    }
    return balance == 0 ? 1 : 0;
}

int D_CElem::TakeListing(std::istream& in, const std::string& text, int compile) {
    if (code != text) {
        code = text;
        compiled = 0;
    }
    if (!compile) return kNoError;
    const char* messages = nullptr;
    if (!Compile(messages)) return SetReadError(in, kCompilerError, messages);
    CreateProcess();
    return kNoError;
}

int D_CElem::Read(std::istream& in, int compile) {
    std::string text;
    const int code = ReadListing(in, text);
    if (code != kNoError) return code;
    return TakeListing(in, text, compile);
}

void D_CElem::InitSharedMemory() {
    if (SharedMemory != nullptr) return;
    Matrix plane(kFirstSegmentSide, kFirstSegmentSide);
    sm_struct* segment = nullptr;
    const int id = CreateSharedSegment(plane, segment);
    if (id < 0) return;
    SharedMemory = segment;
    SharedMemoryId = id;
}

void D_CElem::ReleaseAll() {
    for (int i = 0; i < Instances.GetCount(); i++) {
        D_CElem* data = Instances[i];
        data->StopProcess();
        data->RemoveExecutable();
        data->executable[0] = '\0';
        data->compiled = 0;
    }
    RemovePrivateDirectory();
}

ACElem::ACElem(Architecture* owner, int x, int y) : ElementOf(owner, x, y) {
    SetClock(1);
}

ACElem::ACElem(const ACElem& other) : ElementOf(other) {
    if (data != nullptr) data->SetPlane(GetInputPlane(0));
}

void ACElem::RegisterType() {
    D_CElem::InitSharedMemory();
}

void ACElem::CreateData() {
    // An open code window works on a copy of the data that is being replaced.
    if (data != nullptr) CloseModifyWindow();
    data = std::make_unique<D_CElem>(GetInputPlane(0));
}

void ACElem::DimensionChanged() {
    CloseModifyWindow();
    if (data == nullptr) {
        CreateData();
        return;
    }
    data->Rebind(GetInputPlane(0));
}

int ACElem::ReadData(D_CElem& into, std::istream& in, bool own) {
    std::string text;
    int code = D_CElem::ReadListing(in, text);
    if (code != kNoError) return code;
    if (!own) {
        GetInputPlaneSize(0, boundSize.width, boundSize.height);
        return into.TakeListing(in, text, 0);
    }
    // The code is compiled aside, so that code that does not compile leaves the element, its
    // code and its client as they were.
    into.SetCode(text.c_str());
    const char* messages = nullptr;
    if (!into.Compile(messages)) return SetReadError(in, kCompilerError, messages);
    return kNoError;
}

void ACElem::TakeData(std::unique_ptr<D_CElem> read) {
    // The code read and compiled aside is bound to the new input plane 0 and started.
    read->SetPlane(GetInputPlane(0));
    ElementOf::TakeData(std::move(read));
    data->CreateProcess();
}

void ACElem::TookHeader(D_CElem& into) {
    Matrix* plane = GetInputPlane(0);
    if (data != nullptr) {
        if (plane->GetDimX() == boundSize.width && plane->GetDimY() == boundSize.height) {
            data->SetPlane(plane);
        } else {
            data->Rebind(plane);
        }
    }
    into.SetPlane(plane);
}

void ACElem::Simulate() {
    D_CElem& cdata = GetData();
    if (cdata.GetPlane() != GetInputPlane(0)) {
        std::cerr << "ACElem::Simulate: input plane 0 was replaced unannounced" << std::endl;
        cdata.Rebind(GetInputPlane(0));
    }
    cdata.Simulate(this);
    AElement::Simulate();
}

void ACElem::ResetData() {
    if (data == nullptr) return;
    if (data->GetPlane() != GetInputPlane(0)) {
        std::cerr << "ACElem::ResetData: input plane 0 was replaced unannounced" << std::endl;
        data->SetPlane(GetInputPlane(0));
    }
    data->Restart();
}
