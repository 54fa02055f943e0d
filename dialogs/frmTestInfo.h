#pragma once

#include "platform/Dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The pre-test message: how to leave a test, and the switch that turns the message off. OK accepts it with
// the box's state as the answer; the close box rejects it.
class frmTestInfo : public Dialog
{
    Q_OBJECT
public:
    // showEveryTime: the check box's state as the dialog opens.
    frmTestInfo(bool showEveryTime, QWidget *parent = nullptr);

    // The box's state: show the message before every test.
    bool showEveryTime() const;

    static const QString Message;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void cmdOK_Click();

    QLabel *lblHowToExit;
    QCheckBox *chkShowEveryTime;
    QPushButton *cmdOK;
};
