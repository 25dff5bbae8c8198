#pragma once

// The JOIN element: combines the planes at its inputs cell by cell with one logical operation,
// its rule, applied input after input (so NOR of three inputs is NOT(NOT(a OR b) OR c)). It owns
// its rule object, edited in the JOIN modify window.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "model/elements/ElementOf.h"
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

class AJoinElem : public ElementOf<AJoinElem, D_JoinElem> {
public:
    static constexpr ElementType kType = kJoin;

    // No data until CreateData, which makes the rule OR; a dimension change resets the rule to
    // OR and closes the editor.
    AJoinElem(Architecture* owner, int x, int y) : ElementOf(owner, x, y) {}

    // output plane 0 := input 0, then combined with every further input by the rule.
    void Simulate() override;

protected:
    std::unique_ptr<D_JoinElem> NewData(const PlaneSize&, const PlaneSize&) const override {
        return std::make_unique<D_JoinElem>();
    }
    int ReadData(D_JoinElem& into, std::istream& in, bool) override { return into.Read(in); }
    // A read into a given rule object leaves the editor as it is.
    void ReadIntoDone(int) override {}
};
