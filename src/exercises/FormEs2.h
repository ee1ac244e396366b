#pragma once
// Comparing two groups side by side: the first group in the left half of the picture
// area, the second in the right half.
#include "exercises/FormConfronto.h"

class FormEs2 : public FormConfronto {
    Q_OBJECT
public:
    FormEs2();

protected:
    // Image1 or Image2 (left half) for the first group, Image3 or Image4 (right half)
    // for the second.
    std::pair<int, int> ScegliSchiere() override;
};
