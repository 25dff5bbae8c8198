#include "model/elements/APermElem.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <istream>
#include <new>
#include <ostream>
#include <string>
#include <utility>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

// floor(log10 k) for k > 0, 0 for k = 0: the number of digits less one.
int ExtraDigits(int k) {
    int digits = 0;
    for (; k >= 10; k /= 10)
        digits++;
    return digits;
}

// The pair at the cursor as it stands in the line, for the error report.
std::string PairText(const char* start) {
    const char* end = start;
    while (*end != '\0' && *end != ')' && *end != ']')
        end++;
    if (*end != '\0') end++;
    return std::string(start, end);
}

} // namespace

D_PermElem::D_PermElem(int inWidth, int inHeight, int outWidth, int outHeight)
    : inputWidth(std::max(inWidth, 1)), inputHeight(std::max(inHeight, 1)),
      outputWidth(std::max(outWidth, 1)), outputHeight(std::max(outHeight, 1)), initialCapacity(2),
      growthStep(3) {}

D_PermElem::D_PermElem(const D_PermElem& other)
    : FileArgument(other), inputWidth(other.inputWidth), inputHeight(other.inputHeight),
      outputWidth(other.outputWidth), outputHeight(other.outputHeight),
      initialCapacity(other.initialCapacity), growthStep(other.growthStep) {
    CopyLists(other);
}

D_PermElem& D_PermElem::operator=(const D_PermElem& other) {
    if (this == &other) return *this;
    FreeLists();
    inputWidth = other.inputWidth;
    inputHeight = other.inputHeight;
    outputWidth = other.outputWidth;
    outputHeight = other.outputHeight;
    initialCapacity = other.initialCapacity;
    growthStep = other.growthStep;
    CopyLists(other);
    return *this;
}

D_PermElem::~D_PermElem() {
    FreeLists();
}

void D_PermElem::CopyLists(const D_PermElem& other) {
    lists.clear();
    for (const auto& [cell, from] : other.lists) {
        if (from.targets == nullptr) continue;
        TargetList& to = lists[cell];
        to.targets = new PermTarget[static_cast<size_t>(from.capacity)];
        std::copy(from.targets, from.targets + from.count, to.targets);
        to.count = from.count;
        to.capacity = from.capacity;
        if (from.index != nullptr) {
            to.index = std::make_unique<std::unordered_set<uint64_t>>(*from.index);
        }
    }
}

void D_PermElem::FreeLists() {
    for (auto& entry : lists)
        delete[] entry.second.targets;
    lists.clear();
}

const D_PermElem::TargetList& D_PermElem::List(int i, int j) const {
    static const TargetList kEmpty;
    const auto found = lists.find(Cell(i, j));
    return found == lists.end() ? kEmpty : found->second;
}

int D_PermElem::GetTargetCount(int i, int j) const {
    return IsInput(i, j) ? List(i, j).count : 0;
}

PermTarget D_PermElem::GetTarget(int i, int j, int k) const {
    if (k < 0 || k >= GetTargetCount(i, j)) {
        std::cerr << "D_PermElem::GetTarget: no target " << k << " at (" << i << ',' << j << ')'
                  << std::endl;
        return PermTarget{0, 0};
    }
    return List(i, j).targets[k];
}

bool D_PermElem::Contains(const TargetList& list, int32_t x, int32_t y) {
    if (list.index != nullptr) return list.index->count(Key(x, y)) != 0;
    for (int k = 0; k < list.count; k++) {
        if (list.targets[k].x == x && list.targets[k].y == y) return true;
    }
    return false;
}

int D_PermElem::Add(int i, int j, int x, int y) {
    if (!IsInput(i, j) || !IsOutput(x, y)) {
        std::cerr << "D_PermElem::Add: (" << i << ',' << j << ")->(" << x << ',' << y
                  << ") lies outside the planes" << std::endl;
        return 0;
    }
    TargetList& list = List(i, j);
    if (Contains(list, x, y)) return 0;
    if (list.count == list.capacity) {
        // A long list grows by half its size, so that a transmitter with thousands of receivers
        // is not copied again every few targets; short ones grow by the step.
        const int64_t larger =
            static_cast<int64_t>(list.capacity) + std::max<int64_t>(growthStep, list.capacity / 2);
        int32_t capacity = list.targets == nullptr
                               ? initialCapacity
                               : static_cast<int32_t>(std::min<int64_t>(larger, INT32_MAX));
        PermTarget* grown = new (std::nothrow) PermTarget[static_cast<size_t>(capacity)];
        if (grown == nullptr) return -1;
        std::copy(list.targets, list.targets + list.count, grown);
        delete[] list.targets;
        list.targets = grown;
        list.capacity = capacity;
    }
    list.targets[list.count++] = PermTarget{x, y};
    if (list.index != nullptr) {
        list.index->insert(Key(x, y));
    } else if (list.count >= kIndexedCount) {
        list.index = std::make_unique<std::unordered_set<uint64_t>>();
        for (int k = 0; k < list.count; k++)
            list.index->insert(Key(list.targets[k].x, list.targets[k].y));
    }
    return 1;
}

int D_PermElem::Remove(int i, int j, int x, int y) {
    if (!IsInput(i, j)) return 0;
    TargetList& list = List(i, j);
    for (int k = 0; k < list.count; k++) {
        if (list.targets[k].x == x && list.targets[k].y == y) {
            std::copy(list.targets + k + 1, list.targets + list.count, list.targets + k);
            list.count--;
            if (list.index != nullptr) list.index->erase(Key(x, y));
            return 1;
        }
    }
    return 0;
}

void D_PermElem::FillTargets(int i, int j, Matrix& plane) const {
    plane.UnsetAll();
    if (!IsInput(i, j)) return;
    const TargetList& list = List(i, j);
    for (int k = 0; k < list.count; k++)
        plane.SetBit(list.targets[k].x, list.targets[k].y, 1);
}

int D_PermElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "CONNECTIONS {\n";
    // Every "->" starts e + 7 characters after the indentation.
    const int e = ExtraDigits(inputWidth) + ExtraDigits(inputHeight);
    for (int i = 0; i < inputWidth; i++) {
        for (int j = 0; j < inputHeight; j++) {
            Indent(out, level + 2) << '(' << i << ',' << j << ')';
            for (int b = e + 2 - ExtraDigits(i) - ExtraDigits(j); b > 0; b--)
                out.put(' ');
            out << "-> ";
            const TargetList& list = List(i, j);
            if (list.count == 0) out << "(-,-)";
            for (int k = list.count - 1; k >= 0; k--)
                out << '(' << list.targets[k].x << ',' << list.targets[k].y << ')';
            out << '\n';
        }
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_PermElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeywords(in, cursor, {"CONNECTIONS", "{"})) != kNoError) return code;
    // The connections are added to a copy, so that a failure leaves the table as it was.
    D_PermElem read(*this);
    for (;;) {
        if ((code = ReadRequiredLine(in, cursor)) != kNoError) return code;
        if (*cursor != '(') break;
        if ((code = read.ReadConnection(in, cursor)) != kNoError) return code;
    }
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    Swap(read);
    return kNoError;
}

void D_PermElem::Swap(D_PermElem& other) {
    std::swap(inputWidth, other.inputWidth);
    std::swap(inputHeight, other.inputHeight);
    std::swap(outputWidth, other.outputWidth);
    std::swap(outputHeight, other.outputHeight);
    std::swap(initialCapacity, other.initialCapacity);
    std::swap(growthStep, other.growthStep);
    lists.swap(other.lists);
}

// One line "(i,j) -> (x,y)(x,y)...".
int D_PermElem::ReadConnection(std::istream& in, char*& cursor) {
    const char* start = cursor;
    int32_t i = 0, j = 0;
    int code = ParsePair(cursor, i, j);
    if (code != kNoError) return SetReadError(in, code, PairText(start).c_str());
    if (!IsInput(i, j)) return SetReadError(in, kPermNotInDimension, PairText(start).c_str());
    if ((code = ExpectKeyword(in, cursor, "->")) != kNoError) return code;
    while (*cursor != '\0') {
        start = cursor;
        int32_t x = 0, y = 0;
        code = ParsePair(cursor, x, y);
        if (code == kNotDefined) continue; // "(-,-)": no target
        if (code != kNoError) return SetReadError(in, code, PairText(start).c_str());
        if (!IsOutput(x, y)) return SetReadError(in, kPermNotInDimension, PairText(start).c_str());
        // A list that cannot grow keeps its targets; the new one is dropped.
        Add(i, j, x, y);
    }
    return kNoError;
}

APermElem::~APermElem() {
    // Its own dialog; the element's other windows go with the data.
    CloseDimensionDialog();
}

void APermElem::OpenDimensionDialog() {
    if (permDimensionDialog == nullptr)
        permDimensionDialog = GetElementUi().CreateView({kPermDimensionView, this});
}

void APermElem::CloseDimensionDialog() {
    DeleteView(permDimensionDialog);
}

void APermElem::DetachView(ElementView* view) {
    if (view != nullptr && permDimensionDialog == view) permDimensionDialog = nullptr;
    AElement::DetachView(view);
}

void APermElem::Simulate() {
    Matrix* out = GetOutputPlane(0);
    const Matrix* in = GetInputPlane(0);
    if (out != nullptr && in != nullptr) {
        const D_PermElem& table = GetData();
        out->UnsetAll();
        for (int i = 0; i < table.GetInputWidth(); i++) {
            for (int j = 0; j < table.GetInputHeight(); j++) {
                if (!(*in)(i, j)) continue;
                for (int k = 0; k < table.GetTargetCount(i, j); k++) {
                    PermTarget target = table.GetTarget(i, j, k);
                    out->SetBit(target.x, target.y, 1);
                }
            }
        }
    }
    AElement::Simulate();
}
