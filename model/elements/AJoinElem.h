#pragma once

// The JOIN element: combines the planes at its inputs cell by cell with one logical operation,
// its rule, applied input after input (so NOR of three inputs is NOT(NOT(a OR b) OR c)). It owns
// its rule object, edited in the JOIN modify window.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"

enum JoinRule : int32_t {
    kJoinOr = 0,
    kJoinNor = 1,
    kJoinXor = 2,
    kJoinAnd = 3,
    kJoinNand = 4,
};

const int kJoinRuleCount = 5;

// "OR", "NOR", "XOR", "AND", "NAND"; "" for a value outside the rules.
const char* GetJoinRuleName(int rule);

class D_JoinElem : public FileArgument {
public:
    D_JoinElem() : rule(kJoinOr) {}

    int32_t GetRule() const { return rule; }
    void SetRule(int32_t value) { rule = value; }

    // The LOGICAL_DATA block at the given level, written without a blank before its "{"; read
    // with or without one. Reading matches the rule names as prefixes, NAND first, so "NAND" is
    // never taken for "AND"; on failure the rule is unchanged. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    int Read(std::istream& in);

private:
    int32_t rule; // a JoinRule
};

class AJoinElem : public AElement {
public:
    static const int kDefaultInputs = 2;
    static const int kDefaultOutputs = 1;

    // No data until CreateData.
    AJoinElem(Architecture* owner, int x, int y);
    AJoinElem(const AJoinElem& other);
    ~AJoinElem() override;

    // Into or from the given rule object, or the element's own when null.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    void OpenModifyWindow() override;
    // output plane 0 := input 0, then combined with every further input by the rule.
    void Simulate() override;
    // A dimension change resets the rule to OR and closes the editor.
    void DimensionChanged() override;
    // data := rule OR.
    void CreateData() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kJoin, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override { return StockIconHeight(kJoin, kDefaultInputs, kDefaultOutputs); }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kJoin, kDefaultInputs, kDefaultOutputs);
    }
    AElement* Copy() const override { return new AJoinElem(*this); }

    // The rule object; made on first use when the creator has not called CreateData.
    D_JoinElem& GetData();

private:
    std::unique_ptr<D_JoinElem> data;
};
