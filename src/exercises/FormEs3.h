#pragma once
// Comparing two mixed groups: the places of the four arrays lie among one another over
// the whole picture area, and the two groups take any two different arrays.
#include "exercises/FormConfronto.h"

class FormEs3 : public FormConfronto {
    Q_OBJECT
public:
    FormEs3();

protected:
    // Any array for the first group, any other one for the second.
    std::pair<int, int> ScegliSchiere() override;
};
