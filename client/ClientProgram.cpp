#include "client/ClientProgram.h"

#include <algorithm>

// NOTE: the names below and in the segment header (COMMUNICATE_OPS and its values, sm_struct, VH,
// PC, the constants, the Matrix members, QUIRAN_semaphor_id, ExitFunction, ExitSignalHandler) are
// what users' code has always been able to use; they stay as they are.
namespace {

// Before the segment header.
const char kPrologueHead[] = R"QUIRAN(// QUIRAN client program: generated, do not edit.
#include <string.h>
#include <math.h>
#include <limits.h>
#include <unistd.h>
#include <stdlib.h>
#include <stdio.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <signal.h>

)QUIRAN";

// After the segment header.
const char kPrologueTail[] = R"QUIRAN(
// Semaphore 0 is QUIRAN's, semaphore 1 this client's.
static int VH(int sem_id) {
    struct sembuf operation;
    operation.sem_num = 0;
    operation.sem_op = 1;
    operation.sem_flg = 0;
    return semop(sem_id, &operation, 1) == -1 ? -1 : 0;
}

static int PC(int sem_id) {
    struct sembuf operation;
    operation.sem_num = 1;
    operation.sem_op = -1;
    operation.sem_flg = 0;
    return semop(sem_id, &operation, 1) == -1 ? -1 : 0;
}

const int BYTESUNSIGNED = sizeof(unsigned int);
const int LOG_BYTESUNSIGNED = (int)(log((double)BYTESUNSIGNED) / log(2.0) + 0.5);
const int BITSUNSIGNED = BYTESUNSIGNED * CHAR_BIT;
const int LOG_BITSUNSIGNED = (int)(log((double)BITSUNSIGNED) / log(2.0) + 0.5);
const unsigned char MAXBYTE = UCHAR_MAX;

// A plane: rows of words, bit x of a row is bit x % BITSUNSIGNED of word x / BITSUNSIGNED.
class Matrix {
public:
    Matrix(int xdim = 1, int ydim = 1);
    Matrix(const Matrix &other);
    virtual ~Matrix();
    Matrix &operator=(const Matrix &other);

    // The bit at (x, y); 0 outside the plane.
    int operator()(int x, int y) const;
    // Sets (value non-zero) or clears the bit at (x, y); nothing outside the plane.
    void SetBit(int x, int y, int value = 1);
    void SetAll();
    void UnsetAll();

    size_t GetBufferSize() const { return size_of_mat; }
    // 1, or 0 when the buffer is smaller than the plane.
    int GetFromBuffer(const void *buf, const size_t buf_size);
    int SetToBuffer(void *buf, const size_t buf_size) const;

private:
    void Allocate(int xdim, int ydim);

    int dimX;
    int dimY;
    size_t size_of_mat;
    int anz_elements;
    unsigned int *mat;
};

void Matrix::Allocate(int xdim, int ydim) {
    if (xdim < 1) xdim = 1;
    if (ydim < 1) ydim = 1;
    dimX = xdim;
    dimY = ydim;
    anz_elements = ((xdim - 1) >> LOG_BITSUNSIGNED) + 1;
    size_of_mat = ((size_t)anz_elements * (size_t)ydim) << LOG_BYTESUNSIGNED;
    mat = new unsigned int[(size_t)anz_elements * (size_t)ydim];
    memset(mat, 0, size_of_mat);
}

Matrix::Matrix(int xdim, int ydim) {
    Allocate(xdim, ydim);
}

Matrix::Matrix(const Matrix &other) {
    Allocate(other.dimX, other.dimY);
    memcpy(mat, other.mat, size_of_mat);
}

Matrix::~Matrix() {
    delete[] mat;
}

Matrix &Matrix::operator=(const Matrix &other) {
    if (this == &other) return *this;
    if (dimX != other.dimX || dimY != other.dimY) {
        delete[] mat;
        Allocate(other.dimX, other.dimY);
    }
    memcpy(mat, other.mat, size_of_mat);
    return *this;
}

int Matrix::operator()(int x, int y) const {
    if (x < 0 || y < 0 || x >= dimX || y >= dimY) return 0;
    return (mat[y * anz_elements + (x >> LOG_BITSUNSIGNED)] >> (x & (BITSUNSIGNED - 1))) & 1;
}

void Matrix::SetBit(int x, int y, int value) {
    if (x < 0 || y < 0 || x >= dimX || y >= dimY) return;
    unsigned int &word = mat[y * anz_elements + (x >> LOG_BITSUNSIGNED)];
    const unsigned int bit = 1u << (x & (BITSUNSIGNED - 1));
    if (value)
        word |= bit;
    else
        word &= ~bit;
}

void Matrix::SetAll() {
    memset(mat, MAXBYTE, size_of_mat);
}

void Matrix::UnsetAll() {
    memset(mat, 0, size_of_mat);
}

int Matrix::GetFromBuffer(const void *buf, const size_t buf_size) {
    if (buf_size < size_of_mat) return 0;
    memcpy(mat, buf, size_of_mat);
    return 1;
}

int Matrix::SetToBuffer(void *buf, const size_t buf_size) const {
    if (buf_size < size_of_mat) return 0;
    memcpy(buf, mat, size_of_mat);
    return 1;
}

int QUIRAN_semaphor_id = -1;

// Declared here: the system headers leave the semctl argument to the program.
union QUIRAN_semun {
    int val;
    struct semid_ds *buf;
    unsigned short *array;
};

// Every end of the client removes its semaphore set, so that QUIRAN, waiting for an answer,
// learns of the end at once.
static void ExitFunction() {
    union QUIRAN_semun argument;
    argument.val = 0;
    semctl(QUIRAN_semaphor_id, 0, IPC_RMID, argument);
    _exit(1);
}

static void ExitSignalHandler(int sig) {
    if (sig != SIGTERM) {
        char text[64];
        int length = snprintf(text, sizeof(text), "QUIRAN: Client got signal %d\n", sig);
        if (length > 0 && write(1, text, (size_t)length) < 0) length = 0;
    }
    ExitFunction();
}

static void Simulate(const Matrix &in, Matrix &out, const int &DIMX, const int &DIMY);

int main(int argc, char *argv[]) {
    const int signals[] = {SIGHUP, SIGINT, SIGQUIT, SIGILL, SIGFPE, SIGBUS, SIGSEGV, SIGTERM};
    for (size_t i = 0; i < sizeof(signals) / sizeof(signals[0]); i++)
        signal(signals[i], ExitSignalHandler);
    if (atexit(ExitFunction) != 0) ExitFunction();

    if (argc != 3) exit(1);
    QUIRAN_semaphor_id = (int)atol(argv[1]);
    const int shm_id = (int)atol(argv[2]);

    sm_struct *SM = (sm_struct *)shmat(shm_id, 0, 0);
    if (SM == (sm_struct *)-1) {
        perror("QUIRAN-Client: cannot attach shared memory");
        exit(1);
    }
    void *buffer = (void *)(&SM->buf + 1);

    int dimx = 1;
    int dimy = 1;
    Matrix *in = new Matrix(dimx, dimy);
    Matrix *out = new Matrix(dimx, dimy);

    for (;;) {
        if (PC(QUIRAN_semaphor_id) == -1) exit(1);
        switch (SM->op) {
            case SIMULATE:
                in->GetFromBuffer(buffer, SM->buf_size);
                out->UnsetAll();
                Simulate(*in, *out, dimx, dimy);
                out->SetToBuffer(buffer, SM->buf_size);
                SM->op = SIMULATED;
                break;
            case INIT:
            case CHANGE_DIM: {
                const COMMUNICATE_OPS reply = SM->op == INIT ? INIT_OK : CHANGE_DIM_OK;
                delete in;
                delete out;
                dimx = SM->dim.x;
                dimy = SM->dim.y;
                in = new Matrix(dimx, dimy);
                out = new Matrix(dimx, dimy);
                SM->op = reply;
                break;
            }
            case NEW_SHM: {
                sm_struct *fresh = (sm_struct *)shmat(SM->new_shm_id, 0, 0);
                if (fresh == (sm_struct *)-1) {
                    perror("QUIRAN-Client: cannot attach shared memory");
                    exit(1);
                }
                // The answer goes into the old segment, where QUIRAN waits for it.
                SM->op = NEW_SHM_OK;
                shmdt(SM);
                SM = fresh;
                buffer = (void *)(&SM->buf + 1);
                break;
            }
            default:
                exit(1);
        }
        if (VH(QUIRAN_semaphor_id) == -1) exit(1);
    }
}

)QUIRAN";

} // namespace

const std::string& ClientPrologue() {
    static const std::string prologue =
        std::string(kPrologueHead) + kSegmentHeaderText + kPrologueTail;
    return prologue;
}

const char kClientFunctionLine[] =
    "static void Simulate(const Matrix &in, Matrix &out, const int &DIMX, const int &DIMY){\n";

int ClientPrologueLines() {
    const std::string& prologue = ClientPrologue();
    return static_cast<int>(std::count(prologue.begin(), prologue.end(), '\n')) + 1;
}

std::string MakeClientSource(const char* code) {
    std::string source = ClientPrologue();
    source += kClientFunctionLine;
    if (code != nullptr) source += code;
    source += "\n}\n";
    return source;
}
