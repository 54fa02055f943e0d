#pragma once

#include "platform/Form.h"

class frmHelp : public Form
{
    Q_OBJECT
public:
    frmHelp();
};
