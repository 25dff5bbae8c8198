#pragma once

// The abstract base of every processing element. It owns what all element types share: the type
// code, one plane per input and output pin, the name and comment, the clock number and TIME, the
// modified flag, the icon and its position on the working area of its owner, and the windows and
// dialogs open for it, held as ElementView and deleted by the element. The connections at its pins
// belong to the owner's connection list; the element deletes them when it goes.
//
// The virtual operations below are the one interface through which the rest of the system reads,
// writes, edits, draws, simulates and resets elements of any type. A derived type supplies Read,
// Write, Copy and Simulate, its type statics (the last five operations), its data object with
// CreateData, DimensionChanged and ResetData where it has one, OpenModifyWindow where it has a
// modify window, and IsDefined where its data can be incomplete. The stock types get all but
// Simulate from StockElement and ElementOf (ElementOf.h): their row, their data class and a few
// steps they replace. ElementOf's destructor calls CloseWindows before the data goes, so that no
// window outlives the data it shows; a type closes only the windows of its own members.
//
// Reading: a type's Read parses the header with ParseHeader, reads its LOGICAL_DATA into a
// temporary data object and only then calls ApplyHeader and takes the temporary, so that a failed
// read leaves the element as it was.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "model/data/BlockPool.h"
#include "model/data/Matrix.h"
#include "model/data/PtrArray.h"
#include "model/data/SimTime.h"
#include "model/elements/ElementHeader.h"
#include "model/elements/ShowDataGeometry.h"
#include "model/elements/XTypes.h"
#include "model/format/LoadSaveObject.h"

class Architecture;
class Connection;
class ElementView;
struct QueueEntry;

const SimTime kNeverSimulated = 4294967295u;

class AElement : public LoadSaveObject, public FileArgument, public PooledObject {
public:
    // Every pin gets an all-zero plane of the default plane size; the creator sets the sizes.
    AElement(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs);
    // Copies everything but the connections, windows, dialogs and flags (planes deeply); the
    // derived copy constructor then calls UpdateIcon and copies its data object.
    AElement(const AElement& other);
    AElement& operator=(const AElement&) = delete;

    // 1
    ~AElement() override;
    // 2, 3: the type's element block (header and LOGICAL_DATA), into or from the given data object,
    // or the element's own when null.
    int Read(std::istream& in, FileArgument* target) override = 0;
    int Write(std::ostream& out, int level, FileArgument* source) override = 0;
    // 4, 5
    virtual void OpenModifyWindow() {}
    virtual void CloseModifyWindow();
    // 6: the base is the tail every type's step ends with: records the time and refreshes the
    // show-data windows.
    virtual void Simulate();
    // 7: the type's part of Reset.
    virtual void ResetData() {}
    // 8: schedules the unclocked successors and the clocked element's next latch.
    virtual int Propagate();
    // 9: index 0 shows all outputs, k output k - 1.
    virtual void OpenShowDataWindow(int index);
    // 10
    virtual Connection* GetConnection(int pinCode) const;
    // 11
    virtual void Draw();
    // 12: grab := pointer - position.
    virtual void SetGrabOffset(int px, int py);
    // 13: the wire end point of a pin on the working area; -1 for a pin the element lacks, else 0.
    virtual int GetPinPosition(int pinCode, int& px, int& py) const;
    // 14, 15
    virtual int IsDefined() { return 1; }
    virtual int IsModified() { return modified; }
    // 16, 17: the "Change Dimension" dialog.
    virtual void OpenDimensionDialog();
    virtual void CloseDimensionDialog() { dimensionDialog = nullptr; }
    // A view of the element goes by itself: the element forgets it. Types with views of their own
    // forget those too.
    virtual void DetachView(ElementView* view);
    // 18, 19: types rebuild or create their data object for the current plane size.
    virtual void DimensionChanged() {}
    virtual void CreateData() {}
    // 20..24: the type statics. The base versions are reached only by a type that failed to
    // supply them: they report it on std::cerr and answer 0.
    virtual int GetDefaultInputs();
    virtual int GetDefaultOutputs();
    virtual int GetIconWidth();
    virtual int GetIconHeight();
    virtual Pixmap GetIconPixmap();
    // A new element of the same class made by its copy constructor (Clone's means).
    virtual AElement* Copy() const = 0;

    // A copy of the element; a HELP_ELEMENT is not copied: the element itself is returned.
    static AElement* Clone(AElement& element);

    // A matrix read for this element's data refreshes its open modify window.
    void RefreshAfterRead() override;

    // Pins and planes. SetPinCount refuses (0, nothing changed) when the taller icon would overlap
    // another element of the owner or the counts lie outside the type's limits; else 1.
    int SetPinCount(int inputs, int outputs, int redraw);
    void SetInputPlaneSize(int index, int width, int height);
    void SetOutputPlaneSize(int index, int width, int height);
    // Takes one pin out (a macro losing a port): its connection is deleted and its plane dropped;
    // the pins above move down one place with their planes and connections, which are re-attached
    // to their new pin codes without drawing. A removed output closes its single-output show-data
    // window; those of the outputs above move down one slot with their outputs, and the
    // all-outputs window stays. The icon is not updated.
    void RemovePin(int pinCode);

    // Result of the "Change Dimension" dialog; client is the element.
    static void DimensionDialogCallback(int cancelled, int width, int height, void* client);

    void SetName(const char* text);
    void SetComment(const char* text);
    void OpenSetNameDialog();

    // The size new elements and new architectures give their planes, in cells.
    static void SetDefaultPlaneSize(int width, int height);
    static void GetDefaultPlaneSize(int& width, int& height);

    // Deletes the modify window, the show-data windows and the two dialogs.
    void CloseWindows();

    // Element header block.
    int WriteHeader(std::ostream& out, int level) const;
    // Reads the header and applies it when it is complete and valid, then makes fresh data when
    // there is no target; the first error is recorded.
    void ReadHeader(std::istream& in, FileArgument* target);
    int ParseHeader(std::istream& in, ElementHeader& header) const;
    // Name, comment, pins and planes, clock and TIME; the data object is left to the reader.
    void ApplyHeader(const ElementHeader& header);

    // Simulation.
    void LatchInputs();
    // Starts loading what a latch or a step of the element will read, one level of pointers at
    // a time, for the queue to call a few entries ahead (ElementPrefetch.h).
    void PrefetchLatch(int level) const;
    void PrefetchStep(int level) const;
    SimTime GetLastSimulatedTime() const;
    void Reset();
    // The event queue's unhandled entries of this element, the first and the last in time order.
    // The queue links and reads them; they count only while epoch is the queue's, so that a
    // cleared queue need not visit the elements it held. A copy of an element has none.
    struct QueuedEntries {
        QueueEntry* first = nullptr;
        QueueEntry* last = nullptr;
        uint64_t epoch = 0;
    };
    QueuedEntries& GetQueuedEntries() { return queued; }

    // Icons, marks and frames.
    void UpdateIcon();
    void Mark();
    void Unmark();
    void ToggleMark();
    void ShowFrame();
    void HideFrame();

    // Pins, relative to the icon's upper left corner where a point is asked for.
    int PinAt(int px, int py) const;
    void DrawPinHighlight(int pinCode, int on);
    void GetPlaneSize(int pinCode, int& width, int& height) const;

    // Hit tests on the working area.
    int Contains(int px, int py) const;
    int Intersects(int a, int b, int c, int d) const;
    void GetGeometry(int& gx, int& gy, int& gwidth, int& gheight) const;

    // Binds the element to the window it draws on: the target's when it has a display, else the
    // owner's working area. Returns that window, 0 while there is none.
    Window SetOwner(Architecture* newOwner, DrawingTarget target = {nullptr, 0});

    AElement* GetInputSource(int index) const;
    AElement* GetOutputTarget(int index) const;
    void CollectConnections(PtrArray<Connection>& list) const;
    void RedrawConnections();
    void DeleteConnections();

    // The drag image on the drag display's root window; pointer in working-area coordinates.
    void BeginDrag(int px, int py);
    void SaveDragBackground(int rx, int ry);
    void RestoreDragBackground();
    void DrawDragImage(int rx, int ry);
    void FreeDragBacking();

    void CloseShowDataWindow(int index);
    void RefreshShowDataWindows();
    void RedrawShowDataWindows();

    // Accessors.
    uint32_t GetType() const { return type; }
    Architecture* GetOwner() const { return owner; }
    int GetX() const { return x; }
    int GetY() const { return y; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    void SetPosition(int px, int py) {
        x = px;
        y = py;
    }
    void MoveToPointer(int px, int py) {
        x = px - grabX;
        y = py - grabY;
    }
    void GetGrabOffset(int& gx, int& gy) const {
        gx = grabX;
        gy = grabY;
    }
    int GetGrabOffsetX() const { return grabX; }
    int GetGrabOffsetY() const { return grabY; }
    int IsMarked() const { return marked; }
    int IsFrameShown() const { return frameShown; }
    int HasOwnIcon() const { return ownIcon; }
    int GetInputCount() const { return inputCount; }
    int GetOutputCount() const { return outputCount; }
    Matrix* GetInputPlane(int index) const;
    Matrix* GetOutputPlane(int index) const;
    void GetInputPlaneSize(int index, int& pw, int& ph) const;
    void GetOutputPlaneSize(int index, int& pw, int& ph) const;
    int GetInputPlaneWidth(int index) const;
    int GetInputPlaneHeight(int index) const;
    int GetOutputPlaneWidth(int index) const;
    int GetOutputPlaneHeight(int index) const;
    Connection* GetInputConnection(int index) const;
    Connection* GetOutputConnection(int index) const;
    const char* GetName() const { return name.c_str(); }
    const char* GetComment() const { return comment.c_str(); }
    ElementView* GetModifyWindow() const { return modifyWindow; }
    ElementView* GetShowDataWindow(int index) const;
    ElementView* GetSetNameDialog() const { return nameDialog; }
    ElementView* GetDimensionDialog() const { return dimensionDialog; }
    // What the element's show-data windows carry from one to the next.
    ShowDataGeometry& GetShowDataGeometry() { return showDataGeometry; }
    void SetModifyWindowSize(int mwidth, int mheight);
    void GetModifyWindowSize(int& mwidth, int& mheight) const;
    void SetModifyWindowZoom(int zoom) { modifyWindowZoom = zoom; }
    int GetModifyWindowZoom() const { return modifyWindowZoom; }
    void SetModified() { modified = 1; }
    // Virtual so that clearing an architecture also clears what a macro holds.
    virtual void ClearModified() { modified = 0; }
    void SetClock(int k) { clock = k; }
    int GetClock() const { return clock; }
    // If the clock number is old it becomes new; returns the number it had.
    int ReplaceClockIf(int oldClock, int newClock);
    void SetTime(uint32_t t) { time = t; }
    uint32_t GetTime() const { return time; }
    Display* GetDisplay() const { return display; }
    Window GetWindow() const { return window; }

protected:
    // The type statics of a stock icon: its size for the type's default pin counts, and its
    // pixmap, made on first use (0 without a display).
    static int StockIconWidth(uint32_t type, int inputs, int outputs);
    static int StockIconHeight(uint32_t type, int inputs, int outputs);
    static Pixmap StockIconPixmap(uint32_t type, int inputs, int outputs);
    // Icon top to the top of the first pin box, pixels: 11, and 5 for the macro ports.
    void SetFirstPinOffset(int offset) { firstPinOffset = offset; }

    // For a type's OpenModifyWindow: pops the open window up, or has the window of the type made
    // for the given data object.
    void OpenTypeModifyWindow(FileArgument* data);

private:
    friend class Connection;

    int ChangePinCount(int inputs, int outputs, int redraw, bool checkOverlap);
    Pixmap CurrentIcon();
    void FreeOwnIcon();
    void FreeMarkedIcon();
    void DeleteShowDataWindows();
    void PrefetchHot() const;
    void ReportMissingStatic(int number);

    // What a latch and a step read, together at the start of the object: in a large architecture
    // each element costs as few cache lines as they fill.
    uint32_t type;
    uint32_t time; // TIME: the delay in ticks
    int32_t clock; // 0 unclocked, k >= 1 clock k of the clock table
    SimTime lastSimulatedTime;
    int32_t inputCount;
    int32_t outputCount;
    std::vector<std::unique_ptr<Matrix>> inputPlanes;
    std::vector<std::unique_ptr<Matrix>> outputPlanes;
    std::vector<Connection*> inputConnections;
    std::vector<Connection*> outputConnections;
    std::vector<ElementView*> showDataWindows; // output count + 1 slots
    QueuedEntries queued;

    Architecture* owner;
    int32_t x, y;          // icon's upper left corner on the working area, pixels
    int32_t width, height; // the icon occupies 0..width, 0..height
    int32_t dragX, dragY;  // root position last used by the drag image
    int32_t grabX, grabY;  // pointer relative to the icon when a drag began
    int32_t firstPinOffset;
    Display* display;
    Window window;
    Pixmap icon; // the own icon once drawn; the stock icon comes from GetIconPixmap
    Pixmap dragBacking;
    Pixmap markedIcon;
    int iconGeneration; // the drawing resources these pixmaps were made with
    int32_t marked;
    int32_t frameShown;
    int32_t ownIcon;
    std::string name;
    std::string comment;
    ShowDataGeometry showDataGeometry;
    ElementView* modifyWindow;
    uint16_t modifyWindowHeight;
    int16_t modifyWindowWidth;
    int32_t modifyWindowZoom;
    ElementView* dimensionDialog;
    int32_t modified;
    ElementView* nameDialog;
};
