#pragma once

// The LOGIC element: an array of identical processing elements (PEs) tiling its input plane. Each
// PE owns a peX x peY rectangle of the plane (its PE data), a private vector of internal state
// bits, and sees one row of a shared table of external data bits that changes from clock cycle
// to clock cycle. A list of Boolean equations, compiled into postfix LogicOp lists, is evaluated
// once per PE at every step; the equations set bits of the output plane and of the PE's state.
//
// The element owns its data object, and the data object owns every name, equation, matrix and
// compiled list; copies are deep. The compiled lists always match the equations of the element's
// data: reading into it compiles, and the modify window compiles its working copy before it
// stores it. The internal state is never saved; a loaded or stored element starts at 0.
//
// Besides the common windows the element has an external-data window ("Modify - External Data").

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "model/data/Matrix.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"
#include "model/elements/LogicCompiler.h"
#include "model/elements/LogicOp.h"

class ALogicElem;

// count columns, column k a copy of column sources[k] of from, or all 0 where sources[k] is -1 or
// names no column of from; from's number of rows, one without from. How external bits follow
// their names when names are deleted, added or renamed.
Matrix TakeColumns(const Matrix* from, int count, const std::vector<int>& sources);

// The longest equation, in characters; the value stack of a step is bounded by it.
const int kMaxEquationLength = 5000;
// The most external cycles the "External-Cycles" dialog offers (a file may hold more).
const int kMaxExternalCycles = 999;

class D_LogicElem : public FileArgument {
public:
    // Sized for an input plane of width x height: no PE dimension, no names, no equations.
    D_LogicElem(int width, int height);
    // Deep copies. A copy's next state starts as the source's current state, and it has no
    // error sink; an assignment keeps the target's sink.
    D_LogicElem(const D_LogicElem& other);
    D_LogicElem& operator=(const D_LogicElem& other);
    D_LogicElem(D_LogicElem&& other) noexcept = default;
    D_LogicElem& operator=(D_LogicElem&& other) noexcept;
    ~D_LogicElem() override = default;

    // One LOGICAL_DATA block; compile asks for the equations to be compiled (error 23 when they
    // do not). A failed read leaves the object exactly as it was. 0 or the recorded code.
    int Read(std::istream& in, bool compile);
    // The block at the given level, "NOT_DEFINED" unless the PE dimension and an equation exist.
    // 0, or 1 recorded as a write error when the stream has failed.
    int Write(std::ostream& out, int level) const;

    // Compiles every equation; messages go to the error sink. 0 and new compiled lists, or the
    // compiler's code of the first error with the previous lists kept.
    int CompileEquations();

    // One step of the element: its input plane 0 through the equations into its output plane 0
    // and the internal state. Nothing happens while the PE dimension or the equations are missing.
    void Simulate(ALogicElem& element);
    // Sets every bit of the current internal state of every PE to 0.
    void ClearInternal();
    // Whether the data was made for these planes: the input of its own size, the output at
    // least as large. Data that does not fit is not defined.
    bool FitsPlanes(const Matrix& in, const Matrix& out) const;

    // At most 30 characters, none of "=&|^(){}!~ ", not beginning with a digit or '#' (the line
    // reader would take it for a comment), and not exactly one of the lower-case operator words.
    // The empty string passes.
    static int IsValidName(const char* name);

    // The current state of PE p, internal name i, PE data name j; null unless the PE dimension,
    // an equation (and for the first two internal data) exist and the index is in range.
    const Matrix* GetInternalMatrix(int p) const;
    const char* GetInternalName(int i) const;
    const char* GetPEDataName(int j) const;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetPEX() const { return peX; }
    int GetPEY() const { return peY; }
    int GetExternalCount() const { return externalCount; }
    int GetInternalCount() const { return internalCount; }
    int GetPEDataCount() const { return peDataCount; }
    int GetEquationCount() const { return equationCount; }
    // width x height / (peX x peY); 0 while the PE dimension is not defined.
    int64_t GetPECount() const;
    const std::vector<std::string>& GetExternalNames() const { return externalNames; }
    const std::vector<std::string>& GetInternalNames() const { return internalNames; }
    const std::vector<std::string>& GetPEDataNames() const { return peDataNames; }
    const std::vector<std::string>& GetEquations() const { return equations; }
    const std::vector<LogicOpList>& GetCompiledLists() const { return compiledLists; }
    int GetComputeParallel() const { return computeParallel; }
    // external name x by cycle y; null exactly when there are no external names.
    Matrix* GetExternalData() const { return externalData.get(); }
    LogicErrorSink* GetErrorSink() const { return errorSink; }

    // What the modify window stores into its working copy. The PE dimension must divide the
    // plane (else 0 and nothing changes); it and the internal names restart the internal state
    // at 0. New external names keep the external bits where old and new overlap, with the old
    // number of cycles (one cycle when there were no names).
    int SetPEDimension(int x, int y);
    void SetPEDataNames(const std::vector<std::string>& names);
    void SetExternalNames(const std::vector<std::string>& names);
    // New external names whose bits come from named columns: column k takes column sources[k]
    // of from, or is all 0 where sources[k] is -1 or names no column of from (a new name). The
    // number of cycles is from's, one without from. from may be the object's own matrix.
    void SetExternalNames(const std::vector<std::string>& names, const Matrix* from,
                          const std::vector<int>& sources);
    void SetInternalNames(const std::vector<std::string>& names);
    void SetEquations(const std::vector<std::string>& list);
    void SetComputeParallel(int on) { computeParallel = on != 0 ? 1 : 0; }
    void SetErrorSink(LogicErrorSink* sink) { errorSink = sink; }

private:
    // Reads the block into this object, which the caller throws away on failure.
    int ReadBlock(std::istream& in, bool compile);
    // Its four sections, each up to and including its closing brace.
    int ReadPEData(std::istream& in, char*& cursor);
    int ReadExternalData(std::istream& in, char*& cursor);
    int ReadInternalData(std::istream& in, char*& cursor);
    int ReadEquationData(std::istream& in, char*& cursor);
    // The row of external data for the element's clock cycle now; 0 without external data.
    int GetExternalCycle(const ALogicElem& element) const;
    // Forgets names, equations, external data, state and compiled lists; the PE dimension stays.
    void Release();
    // Both state sets: one zero matrix of internalCount x 1 per PE, none without internal data.
    void MakeStates();
    void CopyFrom(const D_LogicElem& other);

    int32_t width; // the input plane's size when the object was made, cells
    int32_t height;
    int32_t peX; // PE size in pixels; 0 = not defined. peX divides width, peY height.
    int32_t peY;
    int32_t externalCount;
    int32_t internalCount;
    int32_t peDataCount; // peX x peY once the names are there
    int32_t equationCount;
    std::vector<std::string> externalNames;
    std::vector<std::string> internalNames;
    std::vector<std::string> peDataNames; // name j is pixel (j / peY, j mod peY): x-major
    std::vector<std::string> equations;
    int8_t computeParallel; // 1 ON: every equation reads the state of the start of the step
    std::unique_ptr<Matrix> externalData; // externalCount x cycles
    std::vector<Matrix> currentState;     // one internalCount x 1 matrix per PE, row by row
    std::vector<Matrix> nextState;
    std::vector<int> evaluationStack;       // of Simulate, kept between steps
    std::vector<LogicOpList> compiledLists; // one per equation
    LogicErrorSink* errorSink;              // not owned; set on the modify window's copy only
};

class ALogicElem : public ElementOf<ALogicElem, D_LogicElem> {
public:
    static constexpr ElementType kType = kLogic;

    // On clock 1, no data until CreateData, which makes empty data sized by input plane 0; the
    // external-data window opens at 280 x 300 pixels, zoom 100.
    ALogicElem(Architecture* owner, int x, int y);
    // Deep-copies the data; no external-data window.
    ALogicElem(const ALogicElem& other);
    ~ALogicElem() override;

    void Simulate() override;
    // Clears the internal state of every PE; the definition and the external data stay.
    void ResetData() override;
    // 1 when the PE dimension and at least one equation exist.
    int IsDefined() override;
    // A plane-size change erases the definition: the windows go without storing, the data is
    // made anew for the new size.
    void DimensionChanged() override;
    void CreateData() override;
    // The one show-data window shows all outputs: any index of an output opens (or raises) it.
    void OpenShowDataWindow(int index) override;

    // "Modify External Data...": nothing while the window is open or there are no external names.
    void OpenExternalDataWindow();
    // After the modify window stored new data: the open window gets the new matrix, or closes
    // when there are no external names any more. columns[k] is the old column of external name
    // k (-1 for a new one); without them the columns keep their places.
    void UpdateExternalDataWindow(const std::vector<int>& columns = {});
    void CloseExternalDataWindow();
    // The external-data window writes its size and zoom back into the element when it goes.
    ElementView* GetExternalDataWindow() const { return externalDataWindow; }
    void DetachView(ElementView* view) override;
    void SetExternalDataWindowSize(int wwidth, int wheight);
    void GetExternalDataWindowSize(int& wwidth, int& wheight) const;
    void SetExternalDataWindowZoom(int zoom) { externalDataWindowZoom = zoom; }
    int GetExternalDataWindowZoom() const { return externalDataWindowZoom; }

    // 1 and the PE size in pixels, or 0 while it is not defined.
    int GetPEDimension(int& x, int& y);

protected:
    std::unique_ptr<D_LogicElem> NewData(const PlaneSize& in, const PlaneSize&) const override {
        return std::make_unique<D_LogicElem>(in.width, in.height);
    }
    // Reading into the own data compiles the equations, and the element changes only once the
    // whole block has been read and compiled; given data is read without compiling and the open
    // modify window shows it anew.
    int ReadData(D_LogicElem& into, std::istream& in, bool own) override {
        return into.Read(in, own);
    }
    void TakeData(std::unique_ptr<D_LogicElem> read) override;
    void ReadIntoDone(int code) override {
        if (code == 0) RefreshAfterRead();
    }

private:
    ElementView* externalDataWindow;
    uint16_t externalDataWindowWidth; // pixels
    uint16_t externalDataWindowHeight;
    int32_t externalDataWindowZoom;
};
