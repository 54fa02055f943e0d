#pragma once

#include "platform/Form.h"

class frmAbout : public Form
{
    Q_OBJECT
public:
    frmAbout();
};
