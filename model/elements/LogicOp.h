#pragma once

// One record of a compiled LOGIC equation. A compiled list is the destination record (a PE data
// bit or an internal data bit), then the expression in postfix order (operands push a value, the
// two-operand operators pop two and push the result, NOT negates the top value), then one end
// record. Fields a kind does not use are 0.

#include <cstdint>
#include <vector>

enum LogicOpKind : int32_t {
    kLogicEnd = 0,
    kLogicPEData = 1,            // a, b: x and y offset in the PE
    kLogicNeighbourData = 2,     // a, b: offsets in the neighbour PE given by direction
    kLogicExternal = 3,          // a: external name index
    kLogicInternal = 4,          // a: internal name index
    kLogicNeighbourInternal = 5, // a: internal name index of the neighbour PE
    kLogicZero = 6,
    kLogicOne = 7,
    kLogicAnd = 8,
    kLogicNand = 9,
    kLogicXor = 10,
    kLogicOr = 11,
    kLogicNor = 12,
    kLogicNot = 13,
};

enum LogicDirection : int32_t {
    kLogicNoDirection = 0,
    kLogicNorth = 1,
    kLogicEast = 2,
    kLogicSouth = 3,
    kLogicWest = 4,
};

struct LogicOp {
    int32_t kind;
    int32_t a;
    int32_t b;
    int32_t direction;

    bool operator==(const LogicOp& other) const {
        return kind == other.kind && a == other.a && b == other.b && direction == other.direction;
    }
    bool operator!=(const LogicOp& other) const { return !(*this == other); }
};

using LogicOpList = std::vector<LogicOp>;
