#pragma once

#include "platform/Dialog.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Short on-line help: topics on the left, the chosen topic's text on the right, under a title with the
// program's version.
class frmHelp : public Dialog
{
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    // A row of the list: its entry and its text (CR LF joins the lines); blank rows separate the groups.
    struct Topic
    {
        QString entry;
        QString text;
    };
    static const std::vector<Topic> &topics();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    // The selected position, or -1 when nothing is selected.
    int ListIndex() const;
    void lstHelpIndex_Click();
    void txtHelp_GotFocus();
    void cmdOK_Click();

    QLabel *lblTitle;
    QListWidget *lstHelpIndex;
    QPlainTextEdit *txtHelp;
    QPushButton *cmdOK;
};
