// An instrument choice: optional bank select and a program number + 1.
#pragma once

struct TPatchInfo {
    int UseBank = 0;   // non-zero: bank select before the program change
    int Bank = 0;      // 0..16383
    int Patch = 0;     // program number + 1; 0 = send nothing
};
