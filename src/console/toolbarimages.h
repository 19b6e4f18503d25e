#pragma once

#include <QIcon>

// The toolbar's pictures, 40 x 16 each, drawn by the program.
namespace ToolbarImage {
enum Index {
    RadioTest1 = 0,
    RadioTest2 = 1,
    RadioTest3 = 2,
    SelfTest = 3,
    Call1 = 4,
    Call2 = 5,
    Reset = 6,
    SelfTestTable = 7,
    RadioTestTable = 8,
    Help = 9,
};

QIcon icon(Index index);
} // namespace ToolbarImage
