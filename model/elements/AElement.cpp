#include "model/elements/AElement.h"

#include <algorithm>
#include <iostream>

#include "model/data/Architecture.h"
#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/IconGeometry.h"
#include "model/elements/PinCode.h"

namespace {

int defaultPlaneWidth = 16;
int defaultPlaneHeight = 16;

const short kShowDataSize = 250; // pixels, until a show-data window stores its own
const int kMaxDimension = 65536; // the "Change Dimension" dialog's limit

std::unique_ptr<Matrix> NewPlane(int width, int height) {
    return std::make_unique<Matrix>(width, height);
}

// The pin's plane becomes a new all-zero plane of that size. A plane of that size already there is
// cleared and kept instead: every element read gives each pin its size once, mostly the one the
// constructor gave it, and a new plane then cost an allocation and a free for nothing.
void GiveFreshPlane(std::unique_ptr<Matrix>& plane, int width, int height) {
    if (plane == nullptr || plane->GetDimX() != width || plane->GetDimY() != height) {
        plane = NewPlane(width, height);
        return;
    }
    plane->UnsetAll();
    plane->SetFileName(nullptr);
}

} // namespace

AElement::AElement(Architecture* ownerArchitecture, uint32_t elementType, int px, int py,
                   int inputs, int outputs)
    : type(elementType), time(GetDefaultTime(elementType)), clock(0),
      lastSimulatedTime(kNeverSimulated), inputCount(std::max(inputs, 0)),
      outputCount(std::max(outputs, 0)), owner(ownerArchitecture), x(px), y(py), width(0),
      height(0), dragX(0), dragY(0), grabX(0), grabY(0), firstPinOffset(kFirstPinOffset),
      display(nullptr), window(0), icon(0), dragBacking(0), markedIcon(0), iconGeneration(0),
      marked(0), frameShown(0), ownIcon(0),
      name(GetTypeName(elementType)), showDataGeometry{0, kShowDataSize, {}}, modifyWindow(nullptr),
      modifyWindowHeight(0), modifyWindowWidth(0), modifyWindowZoom(100), dimensionDialog(nullptr),
      modified(0), nameDialog(nullptr) {
    // A pin always has a plane, so no step ever meets a missing one; creators resize them.
    for (int i = 0; i < inputCount; i++) {
        inputPlanes.push_back(NewPlane(defaultPlaneWidth, defaultPlaneHeight));
    }
    for (int i = 0; i < outputCount; i++) {
        outputPlanes.push_back(NewPlane(defaultPlaneWidth, defaultPlaneHeight));
    }
    inputConnections.assign(inputCount, nullptr);
    outputConnections.assign(outputCount, nullptr);
    showDataWindows.assign(outputCount + 1, nullptr);
    showDataGeometry.heights.assign(outputCount, kShowDataSize);
    int mwidth, mheight;
    GetDefaultModifyWindowSize(type, mwidth, mheight);
    SetModifyWindowSize(mwidth, mheight);
    IconSize(type, inputCount, outputCount, width, height);
}

AElement::AElement(const AElement& other)
    : LoadSaveObject(other), FileArgument(other), type(other.type), time(other.time),
      clock(other.clock), lastSimulatedTime(other.lastSimulatedTime), inputCount(other.inputCount),
      outputCount(other.outputCount), owner(other.owner), x(other.x), y(other.y),
      width(other.width), height(other.height), dragX(0), dragY(0), grabX(other.grabX),
      grabY(other.grabY), firstPinOffset(other.firstPinOffset), display(other.display),
      window(other.window), icon(0), dragBacking(0), markedIcon(0), iconGeneration(0), marked(0),
      frameShown(0), ownIcon(0), name(other.name), comment(other.comment),
      showDataGeometry(other.showDataGeometry), modifyWindow(nullptr),
      modifyWindowHeight(other.modifyWindowHeight), modifyWindowWidth(other.modifyWindowWidth),
      modifyWindowZoom(other.modifyWindowZoom), dimensionDialog(nullptr), modified(0),
      nameDialog(nullptr) {
    for (const auto& plane : other.inputPlanes)
        inputPlanes.push_back(std::make_unique<Matrix>(*plane));
    for (const auto& plane : other.outputPlanes) {
        outputPlanes.push_back(std::make_unique<Matrix>(*plane));
    }
    inputConnections.assign(inputCount, nullptr);
    outputConnections.assign(outputCount, nullptr);
    showDataWindows.assign(outputCount + 1, nullptr);
}

AElement::~AElement() {
    ElementUi& ui = GetElementUi();
    // Out of the owner's list before the flush: the type's part is gone already, so an exposure
    // handled now must not draw this element through the base's stock-icon slots.
    if (owner != nullptr) owner->GetElements().Remove(this);
    ui.UpdateDisplay();
    DeleteView(modifyWindow);
    DeleteShowDataWindows();
    // A connection's destructor erases its line and clears both its pin slots.
    for (int i = 0; i < inputCount; i++) {
        if (inputConnections[i] != nullptr) delete inputConnections[i];
    }
    for (int i = 0; i < outputCount; i++) {
        if (outputConnections[i] != nullptr) delete outputConnections[i];
    }
    inputPlanes.clear();
    outputPlanes.clear();
    ui.RemoveFromQueue(this);
    FreeOwnIcon();
    FreeMarkedIcon();
    FreeDragBacking();
    DeleteView(nameDialog);
    DeleteView(dimensionDialog);
}

AElement* AElement::Clone(AElement& element) {
    if (element.GetType() == kHelpElement) return &element;
    return element.Copy();
}

void AElement::CloseModifyWindow() {
    DeleteView(modifyWindow);
}

void AElement::OpenTypeModifyWindow(FileArgument* data) {
    if (modifyWindow != nullptr) {
        modifyWindow->Raise();
    } else {
        modifyWindow = GetElementUi().CreateView({kModifyView, this, data});
    }
}

void AElement::CloseWindows() {
    CloseModifyWindow();
    DeleteShowDataWindows();
    DeleteView(nameDialog);
    DeleteView(dimensionDialog);
}

void AElement::DetachView(ElementView* view) {
    if (view == nullptr) return;
    if (modifyWindow == view) modifyWindow = nullptr;
    if (nameDialog == view) nameDialog = nullptr;
    if (dimensionDialog == view) dimensionDialog = nullptr;
    for (ElementView*& showData : showDataWindows) {
        if (showData == view) showData = nullptr;
    }
}

void AElement::RefreshAfterRead() {
    if (modifyWindow != nullptr) modifyWindow->Refresh();
}

void AElement::Simulate() {
    lastSimulatedTime = GetElementUi().GetSimulationTime();
    if (type != kMacro) RefreshShowDataWindows();
}

int AElement::Propagate() {
    ElementUi& ui = GetElementUi();
    for (int i = 0; i < outputCount; i++) {
        AElement* successor = GetOutputTarget(i);
        // Clocked successors fire only on their own ticks.
        if (successor != nullptr && successor->GetClock() == 0) {
            ui.Schedule(lastSimulatedTime, successor);
        }
    }
    if (clock == 0) return 0;
    SimTime period = GetClockPeriod(clock - 1);
    if (period == 0) return 0;
    // The next latch is the first tick of the clock, counted from the latch that led to this
    // computation, that is not before now: one period on when TIME is shorter than the period.
    int64_t latched = static_cast<int64_t>(lastSimulatedTime) - time;
    int64_t periods = std::max<int64_t>(1, (static_cast<int64_t>(time) + period - 1) / period);
    int64_t next = latched + periods * period;
    if (next < lastSimulatedTime || next > static_cast<int64_t>(UINT32_MAX)) return 0;
    ui.Schedule(static_cast<SimTime>(next), this);
    return 0;
}

void AElement::LatchInputs() {
    for (int i = 0; i < inputCount; i++) {
        Connection* connection = inputConnections[i];
        if (connection == nullptr) continue;
        Matrix* plane =
            connection->GetSource()->GetOutputPlane(PinIndex(connection->GetSourcePin()));
        // Shared until the source computes again or the input is written: as good as a copy.
        if (plane != nullptr) inputPlanes[i]->Share(*plane);
    }
}

SimTime AElement::GetLastSimulatedTime() const {
    return lastSimulatedTime > GetElementUi().GetSimulationTime() ? kNeverSimulated
                                                                  : lastSimulatedTime;
}

void AElement::Reset() {
    for (auto& plane : inputPlanes)
        plane->UnsetAll();
    for (auto& plane : outputPlanes)
        plane->UnsetAll();
    if (clock != 0) GetElementUi().Schedule(GetClockOffset(clock - 1), this);
    ResetData();
    RefreshShowDataWindows();
}

Connection* AElement::GetConnection(int pinCode) const {
    int index = PinIndex(pinCode);
    if (IsInputPin(pinCode)) return GetInputConnection(index);
    if (IsOutputPin(pinCode)) return GetOutputConnection(index);
    return nullptr;
}

void AElement::SetGrabOffset(int px, int py) {
    grabX = px - x;
    grabY = py - y;
}

int AElement::GetPinPosition(int pinCode, int& px, int& py) const {
    return PinEndPoint(pinCode, x, y, width, inputCount, outputCount, px, py, firstPinOffset);
}

void AElement::OpenDimensionDialog() {
    if (dimensionDialog != nullptr) return;
    int dx = defaultPlaneWidth;
    int dy = defaultPlaneHeight;
    if (inputCount > 0) {
        GetInputPlaneSize(0, dx, dy);
    } else if (outputCount > 0) {
        GetOutputPlaneSize(0, dx, dy);
    }
    const TwoValuesQuestion question = {"Change Dimension", "X-Dimension:",          dx,  1,
                                        kMaxDimension,      "Y-Dimension:",          dy,  1,
                                        kMaxDimension,      DimensionDialogCallback, this};
    dimensionDialog = GetElementUi().CreateView({kTwoValuesView, this, nullptr, 0, &question});
}

void AElement::DimensionDialogCallback(int cancelled, int dx, int dy, void* client) {
    AElement* element = static_cast<AElement*>(client);
    if (!cancelled && dx >= 1 && dy >= 1 &&
        GetElementUi().Ask(kMessageYesNo, "Warning",
                           "All data of the element will be lost!\nContinue?") == kResultYes) {
        for (auto& plane : element->inputPlanes)
            plane = NewPlane(dx, dy);
        for (auto& plane : element->outputPlanes)
            plane = NewPlane(dx, dy);
        element->DeleteConnections();
        element->DimensionChanged();
        element->RefreshShowDataWindows();
    }
    element->CloseDimensionDialog();
}

void AElement::ReportMissingStatic(int number) {
    std::cerr << number << ":" << type << std::endl;
}

int AElement::GetDefaultInputs() {
    ReportMissingStatic(1);
    return 0;
}

int AElement::GetDefaultOutputs() {
    ReportMissingStatic(2);
    return 0;
}

int AElement::GetIconWidth() {
    ReportMissingStatic(3);
    return 0;
}

int AElement::GetIconHeight() {
    ReportMissingStatic(4);
    return 0;
}

Pixmap AElement::GetIconPixmap() {
    ReportMissingStatic(5);
    return 0;
}

int AElement::SetPinCount(int inputs, int outputs, int redraw) {
    return ChangePinCount(inputs, outputs, redraw, true);
}

int AElement::ChangePinCount(int inputs, int outputs, int redraw, bool checkOverlap) {
    PinLimits limits = GetPinLimits(type);
    if (inputs < limits.minInputs || inputs > limits.maxInputs || outputs < limits.minOutputs ||
        outputs > limits.maxOutputs) {
        std::cerr << "AElement::SetPinCount: " << inputs << " inputs, " << outputs
                  << " outputs outside the limits of " << GetTypeName(type) << std::endl;
        return 0;
    }
    int oldWidth = width;
    int oldHeight = height;
    int inWidth = defaultPlaneWidth, inHeight = defaultPlaneHeight;
    int outWidth = defaultPlaneWidth, outHeight = defaultPlaneHeight;
    if (inputCount > 0) GetInputPlaneSize(0, inWidth, inHeight);
    if (outputCount > 0) GetOutputPlaneSize(0, outWidth, outHeight);

    if (checkOverlap && owner != nullptr) {
        int newHeight = kPinPitch * std::max(inputs, outputs) + kPinPitch;
        const PtrArray<AElement>& elements = owner->GetElements();
        for (int i = 0; i < elements.GetCount(); i++) {
            if (elements[i] != this && elements[i]->Intersects(x, y, width, newHeight)) return 0;
        }
    }

    DeleteShowDataWindows();
    showDataWindows.assign(outputs + 1, nullptr);
    showDataGeometry.heights.resize(outputs, kShowDataSize);

    for (int i = inputs; i < inputCount; i++) {
        if (inputConnections[i] != nullptr) delete inputConnections[i];
    }
    for (int i = outputs; i < outputCount; i++) {
        if (outputConnections[i] != nullptr) delete outputConnections[i];
    }
    inputConnections.resize(inputs, nullptr);
    outputConnections.resize(outputs, nullptr);
    inputPlanes.resize(inputs);
    outputPlanes.resize(outputs);
    for (auto& plane : inputPlanes) {
        if (plane == nullptr) plane = NewPlane(inWidth, inHeight);
    }
    for (auto& plane : outputPlanes) {
        if (plane == nullptr) plane = NewPlane(outWidth, outHeight);
    }
    inputCount = inputs;
    outputCount = outputs;
    UpdateIcon();
    if (redraw && owner != nullptr) {
        GetElementUi().Redraw(owner, 1, x, y, x + std::max(oldWidth, width),
                              y + std::max(oldHeight, height));
    }
    return 1;
}

void AElement::SetInputPlaneSize(int index, int pwidth, int pheight) {
    if (index < 0 || index >= inputCount) {
        std::cerr << "AElement::SetInputPlaneSize: no input " << index << std::endl;
        return;
    }
    GiveFreshPlane(inputPlanes[index], pwidth, pheight);
}

void AElement::SetOutputPlaneSize(int index, int pwidth, int pheight) {
    if (index < 0 || index >= outputCount) {
        std::cerr << "AElement::SetOutputPlaneSize: no output " << index << std::endl;
        return;
    }
    GiveFreshPlane(outputPlanes[index], pwidth, pheight);
}

void AElement::RemovePin(int pinCode) {
    const bool input = IsInputPin(pinCode);
    const int index = PinIndex(pinCode);
    const int count = input ? inputCount : outputCount;
    if (pinCode == kNoPin || index < 0 || index >= count) {
        std::cerr << "AElement::RemovePin: no pin " << pinCode << std::endl;
        return;
    }
    std::vector<Connection*>& slots = input ? inputConnections : outputConnections;
    if (slots[index] != nullptr) delete slots[index];
    if (!input) CloseShowDataWindow(index + 1);
    for (int j = index + 1; j < count; j++) {
        if (slots[j] != nullptr) {
            slots[j]->Reconnect(this, input ? InputPinCode(j - 1) : OutputPinCode(j - 1));
        }
    }
    // The last slot is empty now; shrinking keeps the addresses the open windows hold.
    slots.pop_back();
    if (input) {
        inputPlanes.erase(inputPlanes.begin() + index);
        inputCount--;
    } else {
        outputPlanes.erase(outputPlanes.begin() + index);
        showDataGeometry.heights.erase(showDataGeometry.heights.begin() + index);
        // The single-output windows above move down one slot with their outputs.
        showDataWindows.erase(showDataWindows.begin() + index + 1);
        outputCount--;
        for (int k = index + 1; k <= outputCount; k++) {
            if (showDataWindows[k] != nullptr) showDataWindows[k]->MoveToOutput(k);
        }
    }
}

void AElement::SetName(const char* text) {
    name = text != nullptr ? text : "";
}

void AElement::SetComment(const char* text) {
    comment = text != nullptr ? text : "";
}

void AElement::OpenSetNameDialog() {
    if (nameDialog == nullptr) nameDialog = GetElementUi().CreateView({kSetNameView, this});
}

void AElement::SetDefaultPlaneSize(int pwidth, int pheight) {
    defaultPlaneWidth = pwidth;
    defaultPlaneHeight = pheight;
}

void AElement::GetDefaultPlaneSize(int& pwidth, int& pheight) {
    pwidth = defaultPlaneWidth;
    pheight = defaultPlaneHeight;
}

void AElement::GetPlaneSize(int pinCode, int& pwidth, int& pheight) const {
    if (IsInputPin(pinCode)) {
        GetInputPlaneSize(PinIndex(pinCode), pwidth, pheight);
    } else {
        GetOutputPlaneSize(PinIndex(pinCode), pwidth, pheight);
    }
}

AElement* AElement::GetInputSource(int index) const {
    Connection* connection = GetInputConnection(index);
    return connection != nullptr ? connection->GetSource() : nullptr;
}

AElement* AElement::GetOutputTarget(int index) const {
    Connection* connection = GetOutputConnection(index);
    return connection != nullptr ? connection->GetTarget() : nullptr;
}

void AElement::CollectConnections(PtrArray<Connection>& list) const {
    for (Connection* connection : inputConnections) {
        if (connection != nullptr) list.Add(connection);
    }
    for (Connection* connection : outputConnections) {
        if (connection != nullptr) list.Add(connection);
    }
}

void AElement::RedrawConnections() {
    for (Connection* connection : inputConnections) {
        if (connection != nullptr) connection->UpdateEnds();
    }
    for (Connection* connection : outputConnections) {
        if (connection != nullptr) connection->UpdateEnds();
    }
}

void AElement::DeleteConnections() {
    GetElementUi().UpdateDisplay();
    for (int i = 0; i < inputCount; i++) {
        if (inputConnections[i] != nullptr) delete inputConnections[i];
    }
    for (int i = 0; i < outputCount; i++) {
        if (outputConnections[i] != nullptr) delete outputConnections[i];
    }
}

Matrix* AElement::GetInputPlane(int index) const {
    return index >= 0 && index < inputCount ? inputPlanes[index].get() : nullptr;
}

Matrix* AElement::GetOutputPlane(int index) const {
    return index >= 0 && index < outputCount ? outputPlanes[index].get() : nullptr;
}

void AElement::GetInputPlaneSize(int index, int& pw, int& ph) const {
    Matrix* plane = GetInputPlane(index);
    pw = plane != nullptr ? plane->GetDimX() : 0;
    ph = plane != nullptr ? plane->GetDimY() : 0;
}

void AElement::GetOutputPlaneSize(int index, int& pw, int& ph) const {
    Matrix* plane = GetOutputPlane(index);
    pw = plane != nullptr ? plane->GetDimX() : 0;
    ph = plane != nullptr ? plane->GetDimY() : 0;
}

int AElement::GetInputPlaneWidth(int index) const {
    Matrix* plane = GetInputPlane(index);
    return plane != nullptr ? plane->GetDimX() : 0;
}

int AElement::GetInputPlaneHeight(int index) const {
    Matrix* plane = GetInputPlane(index);
    return plane != nullptr ? plane->GetDimY() : 0;
}

int AElement::GetOutputPlaneWidth(int index) const {
    Matrix* plane = GetOutputPlane(index);
    return plane != nullptr ? plane->GetDimX() : 0;
}

int AElement::GetOutputPlaneHeight(int index) const {
    Matrix* plane = GetOutputPlane(index);
    return plane != nullptr ? plane->GetDimY() : 0;
}

Connection* AElement::GetInputConnection(int index) const {
    return index >= 0 && index < inputCount ? inputConnections[index] : nullptr;
}

Connection* AElement::GetOutputConnection(int index) const {
    return index >= 0 && index < outputCount ? outputConnections[index] : nullptr;
}

ElementView* AElement::GetShowDataWindow(int index) const {
    return index >= 0 && index <= outputCount ? showDataWindows[index] : nullptr;
}

void AElement::SetModifyWindowSize(int mwidth, int mheight) {
    modifyWindowWidth = static_cast<int16_t>(mwidth);
    modifyWindowHeight = static_cast<uint16_t>(mheight);
}

void AElement::GetModifyWindowSize(int& mwidth, int& mheight) const {
    mwidth = modifyWindowWidth;
    mheight = modifyWindowHeight;
}

int AElement::ReplaceClockIf(int oldClock, int newClock) {
    int had = clock;
    if (clock == oldClock) clock = newClock;
    return had;
}

void AElement::OpenShowDataWindow(int index) {
    if (outputCount == 0 || index < 0 || index > outputCount) return;
    if (showDataWindows[index] != nullptr) {
        showDataWindows[index]->Raise();
    } else {
        ElementView* view = GetElementUi().CreateView({kShowDataView, this, nullptr, index});
        // A LOGIC element's request for one output opened its all-outputs window instead.
        if (view != nullptr) showDataWindows[index] = view;
    }
}

void AElement::CloseShowDataWindow(int index) {
    if (index < 0 || index > outputCount) return;
    DeleteView(showDataWindows[index]);
}

void AElement::DeleteShowDataWindows() {
    for (ElementView*& showData : showDataWindows)
        DeleteView(showData);
}

void AElement::RefreshShowDataWindows() {
    for (ElementView* showData : showDataWindows) {
        if (showData != nullptr) showData->Refresh();
    }
}

void AElement::RedrawShowDataWindows() {
    for (ElementView* showData : showDataWindows) {
        if (showData != nullptr) showData->Rebuild();
    }
}
