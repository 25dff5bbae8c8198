#
# QUIRAN Pro architecture file
#

REMARKS {
}

OPTIONS {
  GRID {
    VISIBLE:   ON
    DIMENSION: (15,15)
    RASTERIZE: ON
  }
}

GLOBAL_ARCHITECTURE_DATA {
  DIMENSION: (8,8)
  CLOCKS {
    NUMBER: 1
    CLOCK {
      TIME:   100
      OFFSET: 0
    }
  }
  SIMULATION_DATA {
    MODE:     CLOCKS
    CLOCK_NR: 1
    CLOCKS:   3
  }
}

ARCHITECTURE_ELEMENTS {
  NUMBER: 11
  ELEMENTS {
    ARCHITECTURE_ELEMENT {
      TYPE: INPUT
      INTERNAL_DATA {
        NAME:       Pictures
        COMMENT:    three test pictures
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        XY_PLANE_DATA {
          NUMBER: 3
          PLANES {
            MATRIX {
              DIMENSION: (8,8)
              DATA {
                00000000
                01111110
                01000010
                01011010
                01011010
                01000010
                01111110
                00000000
              }
            }
            MATRIX {
              DIMENSION: (8,8)
              DATA {
                10000001
                01000010
                00100100
                00011000
                00011000
                00100100
                01000010
                10000001
              }
            }
            MATRIX {
              DIMENSION: (8,8)
              DATA {
                00011000
                00011000
                00011000
                11111111
                11111111
                00011000
                00011000
                00011000
              }
            }
          }
        }
      }
      ARCHITECTURE_DATA {
        ID:   0
        PREV: [-,-]
        NEXT: [1,1]
        POS:  (430,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: SPLIT
      INTERNAL_DATA {
        NAME:       SPLIT
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    2
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)(8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
      }
      ARCHITECTURE_DATA {
        ID:   1
        PREV: [0,1]
        NEXT: [2,1][6,1]
        POS:  (510,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: MASK
      INTERNAL_DATA {
        NAME:       Left half
        COMMENT:    keeps columns 0 to 3
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        MASK:
          MATRIX {
            DIMENSION: (8,8)
            DATA {
              11110000
              11110000
              11110000
              11110000
              11110000
              11110000
              11110000
              11110000
            }
          }
      }
      ARCHITECTURE_DATA {
        ID:   2
        PREV: [1,1]
        NEXT: [3,1]
        POS:  (590,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: RULE
      INTERNAL_DATA {
        NAME:       Shift
        COMMENT:    moves every 10 to 01
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        PATTERN_DIMENSION: (2,1)
        SEARCH_PATTERN:
          MATRIX {
            DIMENSION: (2,1)
            DATA {
              10
            }
          }
        SUBSTITUTION_PATTERN:
          MATRIX {
            DIMENSION: (2,1)
            DATA {
              01
            }
          }
        MASK:
          MATRIX {
            DIMENSION: (8,8)
            DATA {
              11111111
              11111111
              11111111
              11111111
              11111111
              11111111
              11111111
              11111111
            }
          }
      }
      ARCHITECTURE_DATA {
        ID:   3
        PREV: [2,1]
        NEXT: [4,1]
        POS:  (670,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: PERM
      INTERNAL_DATA {
        NAME:       Mirror
        COMMENT:    mirrors the columns
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        CONNECTIONS {
          (0,0)  -> (7,0)
          (0,1)  -> (7,1)
          (0,2)  -> (7,2)
          (0,3)  -> (7,3)
          (0,4)  -> (7,4)
          (0,5)  -> (7,5)
          (0,6)  -> (7,6)
          (0,7)  -> (7,7)
          (1,0)  -> (6,0)
          (1,1)  -> (6,1)
          (1,2)  -> (6,2)
          (1,3)  -> (6,3)
          (1,4)  -> (6,4)
          (1,5)  -> (6,5)
          (1,6)  -> (6,6)
          (1,7)  -> (6,7)
          (2,0)  -> (5,0)
          (2,1)  -> (5,1)
          (2,2)  -> (5,2)
          (2,3)  -> (5,3)
          (2,4)  -> (5,4)
          (2,5)  -> (5,5)
          (2,6)  -> (5,6)
          (2,7)  -> (5,7)
          (3,0)  -> (4,0)
          (3,1)  -> (4,1)
          (3,2)  -> (4,2)
          (3,3)  -> (4,3)
          (3,4)  -> (4,4)
          (3,5)  -> (4,5)
          (3,6)  -> (4,6)
          (3,7)  -> (4,7)
          (4,0)  -> (3,0)
          (4,1)  -> (3,1)
          (4,2)  -> (3,2)
          (4,3)  -> (3,3)
          (4,4)  -> (3,4)
          (4,5)  -> (3,5)
          (4,6)  -> (3,6)
          (4,7)  -> (3,7)
          (5,0)  -> (2,0)
          (5,1)  -> (2,1)
          (5,2)  -> (2,2)
          (5,3)  -> (2,3)
          (5,4)  -> (2,4)
          (5,5)  -> (2,5)
          (5,6)  -> (2,6)
          (5,7)  -> (2,7)
          (6,0)  -> (1,0)
          (6,1)  -> (1,1)
          (6,2)  -> (1,2)
          (6,3)  -> (1,3)
          (6,4)  -> (1,4)
          (6,5)  -> (1,5)
          (6,6)  -> (1,6)
          (6,7)  -> (1,7)
          (7,0)  -> (0,0)
          (7,1)  -> (0,1)
          (7,2)  -> (0,2)
          (7,3)  -> (0,3)
          (7,4)  -> (0,4)
          (7,5)  -> (0,5)
          (7,6)  -> (0,6)
          (7,7)  -> (0,7)
        }
      }
      ARCHITECTURE_DATA {
        ID:   4
        PREV: [3,1]
        NEXT: [5,1]
        POS:  (750,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: LOGIC
      INTERNAL_DATA {
        NAME:       Invert
        COMMENT:    inverts every pixel
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       20
      }
      LOGICAL_DATA {
        PE_DIMENSION: (1,1)
        PE_DATA {
          NAMES {
            d[0,0]
          }
        }
        EXTERNAL_DATA {
          NUMBER: 0
          NAMES {
          }
        }
        INTERNAL_DATA {
          NUMBER: 0
          NAMES {
          }
        }
        EQUATION_DATA {
          NUMBER: 1
          EQUATIONS {
            d[0,0] = ~d[0,0]
          }
          COMPUTE_PARALLEL: OFF
        }
      }
      ARCHITECTURE_DATA {
        ID:   5
        PREV: [4,1]
        NEXT: [9,1]
        POS:  (830,330)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: S-SEED
      INTERNAL_DATA {
        NAME:       S-SEED
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       5
      }
      LOGICAL_DATA {
        ORIENTATION: HORIZONTAL
      }
      ARCHITECTURE_DATA {
        ID:   6
        PREV: [1,2]
        NEXT: [7,1]
        POS:  (590,480)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: C++
      INTERNAL_DATA {
        NAME:       Negate
        COMMENT:    negates the plane
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       10
      }
      LOGICAL_DATA {
        LISTING:
for (int y = 0; y < DIMY; y++) {
    for (int x = 0; x < DIMX; x++) {
        out.SetBit(x, y, !in(x, y));
    }
}
      }
      ARCHITECTURE_DATA {
        ID:   7
        PREV: [6,1]
        NEXT: [8,1]
        POS:  (670,480)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: MACRO
      INTERNAL_DATA {
        NAME:       Macro
        COMMENT:    a masking macro
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        REMARKS {
        }

        OPTIONS {
          GRID {
            VISIBLE:   ON
            DIMENSION: (15,15)
            RASTERIZE: ON
          }
        }

        ARCHITECTURE_ELEMENTS {
          NUMBER: 3
          ELEMENTS {
            ARCHITECTURE_ELEMENT {
              TYPE: MACRO_INPUT
              INTERNAL_DATA {
                NAME:       MACRO_INPUT
                COMMENT:    
                INPUTS:     0
                OUTPUTS:    1
                INPUT_DIM:  (-,-)
                OUTPUT_DIM: (8,8)
                CLOCK:      0
                TIME:       0
              }
              LOGICAL_DATA {
                INPUT_NR: 0
              }
              ARCHITECTURE_DATA {
                ID:   0
                PREV: 
                NEXT: [1,1]
                POS:  (30,45)
              }
            }
            ARCHITECTURE_ELEMENT {
              TYPE: MASK
              INTERNAL_DATA {
                NAME:       Inner mask
                COMMENT:    keeps the left half
                INPUTS:     1
                OUTPUTS:    1
                INPUT_DIM:  (8,8)
                OUTPUT_DIM: (8,8)
                CLOCK:      0
                TIME:       0
              }
              LOGICAL_DATA {
                MASK:
                  MATRIX {
                    DIMENSION: (8,8)
                    DATA {
                      11110000
                      11110000
                      11110000
                      11110000
                      11110000
                      11110000
                      11110000
                      11110000
                    }
                  }
              }
              ARCHITECTURE_DATA {
                ID:   1
                PREV: [0,1]
                NEXT: [2,1]
                POS:  (150,45)
              }
            }
            ARCHITECTURE_ELEMENT {
              TYPE: MACRO_OUTPUT
              INTERNAL_DATA {
                NAME:       MACRO_OUTPUT
                COMMENT:    
                INPUTS:     1
                OUTPUTS:    0
                INPUT_DIM:  (8,8)
                OUTPUT_DIM: (-,-)
                CLOCK:      0
                TIME:       0
              }
              LOGICAL_DATA {
                OUTPUT_NR: 0
              }
              ARCHITECTURE_DATA {
                ID:   2
                PREV: [1,1]
                NEXT: 
                POS:  (270,45)
              }
            }
          }
        }
      }
      ARCHITECTURE_DATA {
        ID:   8
        PREV: [7,1]
        NEXT: [9,2]
        POS:  (750,480)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: JOIN
      INTERNAL_DATA {
        NAME:       JOIN
        COMMENT:    
        INPUTS:     2
        OUTPUTS:    1
        INPUT_DIM:  (8,8)(8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA{
        RULE: OR
      }
      ARCHITECTURE_DATA {
        ID:   9
        PREV: [5,1][8,1]
        NEXT: [10,1]
        POS:  (910,400)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: OUTPUT
      INTERNAL_DATA {
        NAME:       Result
        COMMENT:    the last three results
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        NUMBER_PLANES: 3
      }
      ARCHITECTURE_DATA {
        ID:   10
        PREV: [9,1]
        NEXT: [-,-]
        POS:  (990,400)
      }
    }
  }
}
