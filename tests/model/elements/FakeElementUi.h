#pragma once

// A recording stand-in for the window side of the model, for tests that open no display: it
// keeps what was scheduled, asked and redrawn, and makes small fake windows and dialogs that
// behave as the real ones do towards the element (they store themselves in the element's slot
// and clear it when deleted).

#include <string>
#include <utility>
#include <vector>

#include "model/elements/AElement.h"
#include "model/elements/ElementUi.h"

class AElementWindow {
public:
    AElementWindow(AElementWindow** ownerSlot, int windowIndex)
        : slot(ownerSlot), index(windowIndex) {
        *slot = this;
        live++;
    }
    ~AElementWindow() {
        *slot = nullptr;
        live--;
    }
    inline static int live = 0;
    AElementWindow** slot;
    int index;
    int popups = 0;
    int refreshes = 0;
    int rebuilds = 0;
};

class AElementModifyWindow {
public:
    AElementModifyWindow(AElementModifyWindow** ownerSlot, FileArgument* windowData)
        : slot(ownerSlot), data(windowData) {
        *slot = this;
    }
    // A window's destructor may still look at the data it shows; ASan reports it if the data
    // has gone first.
    ~AElementModifyWindow() {
        if (data != nullptr) data->RefreshAfterRead();
        *slot = nullptr;
    }
    AElementModifyWindow** slot;
    FileArgument* data;
    int popups = 0;
    int refreshes = 0;
};

class SetNameDialog {
public:
    explicit SetNameDialog(AElement& dialogElement) : element(dialogElement) {
        element.AttachSetNameDialog(this);
    }
    ~SetNameDialog() { element.AttachSetNameDialog(nullptr); }
    AElement& element;
};

class ModifyTwoValuesDialog {
public:
    std::string title;
    int value1, value2, min1, max1, min2, max2;
    TwoValuesCallback callback;
    void* client;
};

class FakeElementUi : public NullElementUi {
public:
    FakeElementUi() { SetElementUi(this); }
    ~FakeElementUi() override {
        SetElementUi(nullptr);
        for (ModifyTwoValuesDialog* dialog : dialogs)
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
    void CreateModifyWindow(AElement&, FileArgument* data, AElementModifyWindow** slot) override {
        new AElementModifyWindow(slot, data);
    }
    void PopupModifyWindow(AElementModifyWindow* window) override { window->popups++; }
    void DeleteModifyWindow(AElementModifyWindow* window) override { delete window; }
    void Refresh(AElementModifyWindow* window) override { window->refreshes++; }
    void CreateShowDataWindow(AElement&, AElementWindow** slot, int index, short*, short*,
                              int* zoom) override {
        new AElementWindow(slot, index);
        if (*zoom == 0) *zoom = 100;
    }
    void PopupWindow(AElementWindow* window) override { window->popups++; }
    void DeleteWindow(AElementWindow* window) override { delete window; }
    void RefreshShowDataWindow(AElementWindow* window) override { window->refreshes++; }
    void RebuildShowDataWindow(AElementWindow* window) override { window->rebuilds++; }
    void OpenSetNameDialog(AElement& element) override { new SetNameDialog(element); }
    void DeleteSetNameDialog(SetNameDialog* dialog) override { delete dialog; }
    ModifyTwoValuesDialog* OpenTwoValuesDialog(const char* title, const char*, int value1, int min1,
                                               int max1, const char*, int value2, int min2,
                                               int max2, TwoValuesCallback callback,
                                               void* client) override {
        dialogs.push_back(new ModifyTwoValuesDialog{title, value1, value2, min1, max1, min2, max2,
                                                    callback, client});
        return dialogs.back();
    }
    void DeleteTwoValuesDialog(ModifyTwoValuesDialog* dialog) override {
        for (size_t i = 0; i < dialogs.size(); i++) {
            if (dialogs[i] == dialog) dialogs.erase(dialogs.begin() + static_cast<long>(i));
        }
        delete dialog;
        deletedDialogs++;
    }

    // Answers the last dialog as its OK or Cancel would; the dialog then deletes itself.
    void AnswerDialog(int cancelled, int value1, int value2) {
        ModifyTwoValuesDialog* dialog = dialogs.back();
        dialog->callback(cancelled, value1, value2, dialog->client);
        dialogs.pop_back();
        delete dialog;
    }

    struct RedrawCall {
        int clear, x1, y1, x2, y2;
    };

    SimTime now = 0;
    int answer = kResultNo;
    std::vector<std::pair<SimTime, AElement*>> scheduled;
    std::vector<AElement*> removed;
    std::vector<std::string> questions;
    std::vector<RedrawCall> redraws;
    std::vector<ModifyTwoValuesDialog*> dialogs;
    int deletedDialogs = 0;
};
