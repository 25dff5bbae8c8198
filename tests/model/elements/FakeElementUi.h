#pragma once

// A recording stand-in for the window side of the model, for tests that open no display: it
// keeps what was scheduled, asked and redrawn, and makes small fake views that behave as the real
// windows and dialogs do towards the element (they detach themselves from it when deleted) and
// count what the element asks of them.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/elements/AElement.h"
#include "model/elements/ElementUi.h"

class FakeElementUi;

class FakeView : public ElementView {
public:
    explicit FakeView(const ViewRequest& request);
    ~FakeView() override;

    void Raise() override { popups++; }
    void Refresh() override { refreshes++; }
    void Rebuild() override;
    void MoveToOutput(int output) override { index = output; }
    void RecordPlane() override;
    void ShowPlane(int quiet) override;
    void ReloadStack() override;
    void SetExternalData(Matrix* externalData, const std::vector<int>& sources) override {
        matrix = externalData;
        columns = sources;
        updates++;
    }

    // Show-data views alive.
    inline static int liveShowData = 0;

    ElementViewKind kind;
    AElement* element;
    FileArgument* data; // a modify view's data object
    int index;          // a show-data view's output
    int popups = 0;
    int refreshes = 0;
    int rebuilds = 0;
    // An external-data view's matrix and what it was last told.
    Matrix* matrix = nullptr;
    std::vector<int> columns;
    int updates = 0;
    // A two-value dialog's question.
    std::string title;
    int value1 = 0, value2 = 0, min1 = 0, max1 = 0, min2 = 0, max2 = 0;
    TwoValuesCallback callback = nullptr;
    void* client = nullptr;
    // Run as the view closes, as a real window's last look at what it shows.
    std::function<void()> onClose;
};

// The fake behind a view the element holds.
inline FakeView* Fake(ElementView* view) {
    return static_cast<FakeView*>(view);
}

class FakeElementUi : public NullElementUi {
public:
    FakeElementUi() {
        SetElementUi(this);
        current = this;
    }
    ~FakeElementUi() override {
        SetElementUi(nullptr);
        if (current == this) current = nullptr;
        std::vector<FakeView*> left = std::move(dialogs);
        for (FakeView* dialog : left)
            delete dialog;
    }

    void Schedule(SimTime time, AElement* element) override {
        scheduled.push_back({time, element});
    }
    void RemoveFromQueue(AElement* element) override { removed.push_back(element); }
    SimTime GetSimulationTime() override { return now; }
    int Ask(MessageKind kind, const char* title, const char* text) override {
        questions.push_back(std::string(title) + "|" + text);
        return kind == kMessageYesNo ? answer : kResultOk;
    }
    void Redraw(Architecture*, int clear, int x1, int y1, int x2, int y2) override {
        redraws.push_back({clear, x1, y1, x2, y2});
    }
    // A fake of every kind the fake makes; two-value dialogs are kept in dialogs.
    ElementView* CreateView(const ViewRequest& request) override {
        if (!makes[request.kind]) return nullptr;
        opened[request.kind]++;
        auto* view = new FakeView(request);
        if (request.kind == kTwoValuesView) dialogs.push_back(view);
        return view;
    }

    // Answers the last dialog as its OK or Cancel would; the dialog then deletes itself.
    void AnswerDialog(int cancelled, int value1, int value2) {
        FakeView* dialog = dialogs.back();
        dialog->callback(cancelled, value1, value2, dialog->client);
        dialogs.pop_back();
        delete dialog;
    }

    // A view is going; a two-value dialog still listed is deleted by its element.
    void Forget(FakeView* view) {
        deleted[view->kind]++;
        for (size_t i = 0; i < dialogs.size(); i++) {
            if (dialogs[i] == view) {
                dialogs.erase(dialogs.begin() + static_cast<long>(i));
                deletedDialogs++;
            }
        }
    }

    struct RedrawCall {
        int clear, x1, y1, x2, y2;
    };

    // The installed fake, which the views report to.
    inline static FakeElementUi* current = nullptr;

    // The kinds this fake makes; the others are refused as by a window side without them.
    bool makes[kExternalDataView + 1] = {true, true, true, true, false, false};
    int opened[kExternalDataView + 1] = {};
    int deleted[kExternalDataView + 1] = {};
    int modifyRebuilds = 0; // the data object was read anew under an open modify view
    std::string planeCalls; // what INPUT and OUTPUT elements asked of their plane window
    SimTime now = 0;
    int answer = kResultNo;
    std::vector<std::pair<SimTime, AElement*>> scheduled;
    std::vector<AElement*> removed;
    std::vector<std::string> questions;
    std::vector<RedrawCall> redraws;
    std::vector<FakeView*> dialogs;
    int deletedDialogs = 0;
};

inline FakeView::FakeView(const ViewRequest& request)
    : kind(request.kind), element(request.element), data(request.data), index(request.index) {
    if (kind == kShowDataView) liveShowData++;
    if (const TwoValuesQuestion* q = request.question) {
        title = q->title;
        value1 = q->value1;
        value2 = q->value2;
        min1 = q->min1;
        max1 = q->max1;
        min2 = q->min2;
        max2 = q->max2;
        callback = q->callback;
        client = q->client;
    }
}

// A window's destructor may still look at the data it shows; ASan reports it if the data has gone
// first. A two-value dialog does not know its element, as the real one does not.
inline FakeView::~FakeView() {
    if (onClose) onClose();
    if (kind == kModifyView && data != nullptr) data->RefreshAfterRead();
    if (kind != kTwoValuesView && element != nullptr) element->DetachView(this);
    if (kind == kShowDataView) liveShowData--;
    if (FakeElementUi::current != nullptr) FakeElementUi::current->Forget(this);
}

inline void FakeView::Rebuild() {
    rebuilds++;
    if (kind == kModifyView && FakeElementUi::current != nullptr)
        FakeElementUi::current->modifyRebuilds++;
}

inline void FakeView::RecordPlane() {
    if (FakeElementUi::current != nullptr) FakeElementUi::current->planeCalls += "record ";
}

inline void FakeView::ShowPlane(int quiet) {
    if (FakeElementUi::current != nullptr)
        FakeElementUi::current->planeCalls += "show" + std::to_string(quiet) + " ";
}

inline void FakeView::ReloadStack() {
    if (FakeElementUi::current != nullptr) FakeElementUi::current->planeCalls += "reload ";
}
