// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/DragContext.h"

#include "model/data/ElementQueries.h"
#include "model/elements/AHelpElem.h"
#include "tests/shell/editing/EditingGui.h"

namespace {

using DragContextBehaviour = EditingFixture;

// The words a transfer of the element target carries.
struct Transfer {
    Atom type = 0;
    XtPointer value = nullptr;
    unsigned long length = 0;
    int format = 0;
    Boolean answered = False;
};

Transfer Convert(Atom target) {
    Transfer t;
    Atom selection = 0;
    unsigned long maxLength = 0;
    t.answered = DragConvertProc(nullptr, &selection, &target, &t.type, &t.value, &t.length,
                                 &t.format, &maxLength, nullptr, nullptr);
    return t;
}

} // namespace

TEST_F(DragContextBehaviour, TheTargetsAreInternedByName) {
    Display* display = XtDisplay(gui->topLevel);
    EXPECT_EQ(GetElementTargetAtom(), XInternAtom(display, "QUIRAN_AELEMENT_TARGET", True));
    EXPECT_EQ(GetConnectionTargetAtom(), XInternAtom(display, "QUIRAN_VERBINDG_TARGET", True));
    EXPECT_EQ(GetDragContext(), nullptr);
}

TEST_F(DragContextBehaviour, TheTransferNamesTheDragButCarriesNoAddress) {
    DragContext* context = NewDragContext();
    EXPECT_EQ(GetDragContext(), context);
    EXPECT_EQ(context->status, kDragNotTaken);
    EXPECT_EQ(context->widget, gui->topLevel);
    EXPECT_EQ(Convert(GetConnectionTargetAtom()).answered, False);
    Transfer t = Convert(GetElementTargetAtom());
    ASSERT_EQ(t.answered, True);
    EXPECT_EQ(t.type, GetElementTargetAtom());
    EXPECT_EQ(t.format, 32);
    ASSERT_EQ(t.length, 9u); // nine 32-bit words on the wire
    EXPECT_EQ(static_cast<const long*>(t.value)[0], static_cast<long>(context->serial));
    // Words that name another drag are not acted on.
    static_cast<long*>(t.value)[0] += 1;
    DropInfo info = {&main(), 100, 100};
    Atom selection = 0;
    AreaTransferProc(nullptr, &info, &selection, &t.type, t.value, &t.length, &t.format);
    EXPECT_EQ(context->status, kDragNotTaken);
    FreeDragContext();
    EXPECT_EQ(GetDragContext(), nullptr);
}

TEST_F(DragContextBehaviour, ARefusedMoveGoesBackToWhereItStarted) {
    AElement* fixed = Place(450, 315);
    AElement* moving = Place(600, 315);
    DragContext* context = NewDragContext();
    context->kind = kDragMove;
    context->source = context->destination = &main();
    context->startX = 630;
    context->startY = 330;
    moving->SetGrabOffset(630, 330);
    main().GetElements().Remove(moving);
    context->elements->Add(moving);
    EXPECT_FALSE(AcceptAreaDrop(*context, main(), 480, 330)); // onto the fixed one
    FinishDrag(*context);
    FreeDragContext();
    EXPECT_EQ(moving->GetX(), 600);
    EXPECT_EQ(moving->GetY(), 315);
    EXPECT_EQ(main().GetElements().Find(moving), 1);
    EXPECT_EQ(ElementAt(main(), 455, 320), fixed);
}

TEST_F(DragContextBehaviour, AMoveToAnotherPlaceTakesItsWires) {
    AElement* a = Place(450, 315);
    AElement* b = Place(600, 315);
    Connection* wire = Connect(a, b);
    DragContext* context = NewDragContext();
    context->kind = kDragMove;
    context->source = context->destination = &main();
    context->startX = 630;
    context->startY = 330;
    b->SetGrabOffset(630, 330);
    main().GetElements().Remove(b);
    context->elements->Add(b);
    context->connections->Add(wire);
    // Dropped at (637, 427): placed at (607, 412), snapped by (-7, -7).
    ASSERT_TRUE(AcceptAreaDrop(*context, main(), 637, 427));
    TransferToArea(*context, {&main(), 637, 427});
    EXPECT_EQ(context->status, kDragTaken);
    FinishDrag(*context);
    FreeDragContext();
    EXPECT_EQ(b->GetX(), 600);
    EXPECT_EQ(b->GetY(), 405);
    EXPECT_EQ(main().GetConnections().Find(wire), 0);
    int x, y;
    wire->GetTargetPoint(x, y);
    EXPECT_EQ(x, 599);
    EXPECT_EQ(y, 420);
    EXPECT_EQ(main().IsModified(), 1);
}

TEST_F(DragContextBehaviour, AConnectionEndIsTakenOnlyByAFittingPin) {
    AElement* a = Place(450, 315);
    AElement* b = Place(600, 315);
    AHelpElem* end = main().GetConnectionEnd();
    ASSERT_NE(end, nullptr);
    struct Case {
        int x, y;
        bool taken;
    };
    const Case kCases[] = {{657, 330, false}, {700, 500, false}, {603, 330, true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x);
        auto* wire = new Connection(&main(), a, 3, end, 2, 1);
        DragContext* context = NewDragContext();
        context->kind = kDragConnectionEnd;
        context->source = context->destination = &main();
        context->elements->Add(end);
        context->connections->Add(wire);
        const bool accepted = AcceptAreaDrop(*context, main(), c.x, c.y);
        EXPECT_EQ(accepted, c.taken);
        if (accepted) TransferToArea(*context, {&main(), c.x, c.y});
        FinishDrag(*context);
        FreeDragContext();
        EXPECT_EQ(end->GetFreeEnd(), 0);
        EXPECT_EQ(main().GetConnections().GetCount(), c.taken ? 1 : 0);
    }
    EXPECT_EQ(b->GetInputSource(0), a);
}
