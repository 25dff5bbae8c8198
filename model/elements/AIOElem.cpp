#include "model/elements/AIOElem.h"

#include "model/elements/ElementView.h"
#include "model/elements/PlaneCopy.h"

AIOElem::AIOElem(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs)
    : AElement(owner, type, x, y, inputs, outputs), viewSettings{0, 0, 0, 0, 0, 0, 0, 0} {
    SetClock(1);
}

void AIOElem::RecordPlane() {
    if (GetModifyWindow() != nullptr) GetModifyWindow()->RecordPlane();
}

void AIOElem::ReloadStack() {
    if (GetModifyWindow() != nullptr) GetModifyWindow()->ReloadStack();
}

void AIOElem::ShowPlane(int quiet) {
    if (GetModifyWindow() != nullptr) GetModifyWindow()->ShowPlane(quiet);
}

void AIOElem::EmitFrom(const Matrix* plane, const D_IOElem* holder) {
    Matrix* out = GetOutputPlane(0);
    if (out == nullptr) return;
    if (plane == nullptr && holder != nullptr && holder->GetPlaneList().GetCount() > 0) {
        plane = &holder->GetPlaneList().GetCurrentPlane();
    }
    if (plane != nullptr) {
        CopyPlane(*out, *plane);
    } else {
        out->UnsetAll();
    }
}

void AIOElem::SimulateWith(D_IOElem& holder) {
    EmitPlane(nullptr);
    const Matrix* in = GetInputPlane(0);
    if (in != nullptr && holder.GetPlaneList().GetCount() > 0) holder.GetPlaneList().Push(*in);
    AElement::Simulate();
    RecordPlane();
    ShowPlane(1);
}

void AIOElem::FinishResetData() {
    ReloadStack();
    if (GetTime() == 0) EmitPlane(nullptr);
}
