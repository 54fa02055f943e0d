#pragma once

#include "platform/Form.h"

class frmUpdate : public Form
{
    Q_OBJECT
public:
    frmUpdate();
};
