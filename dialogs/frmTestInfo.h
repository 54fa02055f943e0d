#pragma once

#include "platform/Form.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The pre-test message: how to leave a test, and the switch that turns the message off.
class frmTestInfo : public Form
{
    Q_OBJECT
public:
    frmTestInfo();

    QLabel *lblHowToExit;
    QCheckBox *chkShowEveryTime;
    QPushButton *cmdOK;

    static const QString Message;

protected:
    void Form_Load() override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void cmdOK_Click();
};
