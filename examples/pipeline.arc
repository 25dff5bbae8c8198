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
  DIMENSION: (16,16)
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
  NUMBER: 6
  ELEMENTS {
    ARCHITECTURE_ELEMENT {
      TYPE: INPUT
      INTERNAL_DATA {
        NAME:       Pictures
        COMMENT:    three 16 x 16 test pictures
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (16,16)
        OUTPUT_DIM: (16,16)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        XY_PLANE_DATA {
          NUMBER: 3
          PLANES {
            MATRIX {
              DIMENSION: (16,16)
              DATA {
                0000000000000000
                0000011111100000
                0001100000011000
                0010000000000100
                0010000000000100
                0100000000000010
                0100000000000010
                0100000000000010
                0100000000000010
                0100000001000010
                0010000000100100
                0010000000011000
                0001100000011100
                0000011111100010
                0000000000000001
                0000000000000000
              }
            }
            MATRIX {
              DIMENSION: (16,16)
              DATA {
                1000000000000001
                0100000000000010
                0010000000000100
                0001000000001000
                0000100000010000
                0000010000100000
                0000001001000000
                0000000110000000
                0000000110000000
                0000001001000000
                0000010000100000
                0000100000010000
                0001000000001000
                0010000000000100
                0100000000000010
                1000000000000001
              }
            }
            MATRIX {
              DIMENSION: (16,16)
              DATA {
                1111111111111111
                1000000000000001
                1000000000000001
                1001111111111001
                1001000000001001
                1001000000001001
                1001000000001001
                1001000000001001
                1001000000001001
                1001000000001001
                1001000000001001
                1001000000001001
                1001111111111001
                1000000000000001
                1000000000000001
                1111111111111111
              }
            }
          }
        }
      }
      ARCHITECTURE_DATA {
        ID:   0
        PREV: [-,-]
        NEXT: [1,1]
        POS:  (450,435)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: SPLIT
      INTERNAL_DATA {
        NAME:       SPLIT
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    2
        INPUT_DIM:  (16,16)
        OUTPUT_DIM: (16,16)(16,16)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
      }
      ARCHITECTURE_DATA {
        ID:   1
        PREV: [0,1]
        NEXT: [2,1][3,1]
        POS:  (570,435)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: MASK
      INTERNAL_DATA {
        NAME:       Left half
        COMMENT:    keeps columns 0 to 7
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (16,16)
        OUTPUT_DIM: (16,16)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        MASK:
          MATRIX {
            DIMENSION: (16,16)
            DATA {
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
              1111111100000000
            }
          }
      }
      ARCHITECTURE_DATA {
        ID:   2
        PREV: [1,1]
        NEXT: [4,1]
        POS:  (690,375)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: MASK
      INTERNAL_DATA {
        NAME:       Checker
        COMMENT:    2 x 2 checkerboard on the right half
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (16,16)
        OUTPUT_DIM: (16,16)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        MASK:
          MATRIX {
            DIMENSION: (16,16)
            DATA {
              0000000000110011
              0000000000110011
              0000000011001100
              0000000011001100
              0000000000110011
              0000000000110011
              0000000011001100
              0000000011001100
              0000000000110011
              0000000000110011
              0000000011001100
              0000000011001100
              0000000000110011
              0000000000110011
              0000000011001100
              0000000011001100
            }
          }
      }
      ARCHITECTURE_DATA {
        ID:   3
        PREV: [1,2]
        NEXT: [4,2]
        POS:  (690,495)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: JOIN
      INTERNAL_DATA {
        NAME:       JOIN
        COMMENT:    
        INPUTS:     2
        OUTPUTS:    1
        INPUT_DIM:  (16,16)(16,16)
        OUTPUT_DIM: (16,16)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA{
        RULE: OR
      }
      ARCHITECTURE_DATA {
        ID:   4
        PREV: [2,1][3,1]
        NEXT: [5,1]
        POS:  (810,435)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: OUTPUT
      INTERNAL_DATA {
        NAME:       Result
        COMMENT:    the last three combined pictures
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (16,16)
        OUTPUT_DIM: (16,16)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        NUMBER_PLANES: 3
      }
      ARCHITECTURE_DATA {
        ID:   5
        PREV: [4,1]
        NEXT: [-,-]
        POS:  (930,435)
      }
    }
  }
}
