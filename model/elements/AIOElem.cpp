#include "model/elements/AIOElem.h"

#include "model/elements/PlaneCopy.h"
#include "model/elements/PlaneWindowUi.h"

AIOElem::AIOElem(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs)
    : AElement(owner, type, x, y, inputs, outputs), viewSettings{0, 0, 0, 0, 0, 0, 0, 0} {
    SetClock(1);
}

void AIOElem::RecordPlane() {
    PlaneWindowUi* ui = GetPlaneWindowUi();
    if (ui != nullptr && GetModifyWindow() != nullptr) ui->RecordPlane(GetModifyWindow());
}

void AIOElem::ReloadStack() {
    PlaneWindowUi* ui = GetPlaneWindowUi();
    if (ui != nullptr && GetModifyWindow() != nullptr) ui->ReloadStack(GetModifyWindow());
}

void AIOElem::ShowPlane(int quiet) {
    PlaneWindowUi* ui = GetPlaneWindowUi();
    if (ui != nullptr && GetModifyWindow() != nullptr) ui->ShowPlane(GetModifyWindow(), quiet);
}

void AIOElem::EmitFrom(const Matrix* plane, const D_IOElem* holder) {
    Matrix* out = GetOutputPlane(0);
    if (out == nullptr) return;
    if (plane == nullptr && holder != nullptr && holder->GetCount() > 0) {
        plane = &holder->GetCurrentPlane();
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
    if (in != nullptr && holder.GetCount() > 0) holder.Push(*in);
    AElement::Simulate();
    RecordPlane();
    ShowPlane(1);
}

void AIOElem::FinishResetData() {
    ReloadStack();
    if (GetTime() == 0) EmitPlane(nullptr);
}
