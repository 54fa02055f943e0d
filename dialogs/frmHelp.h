#pragma once

#include "platform/Form.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Short on-line help: topics on the left, the chosen topic's text on the right, under a title with the
// program's version.
class frmHelp : public Form
{
    Q_OBJECT
public:
    frmHelp();

    QLabel *lblTitle;
    QListWidget *lstHelpIndex;
    QPlainTextEdit *txtHelp;
    QPushButton *cmdOK;

    static constexpr int TopicCount = 8;
    // The list entry and the text of a topic row; CR LF joins the lines of a text.
    static QString topicEntry(int position);
    static QString topicText(int position);

    // The selected position, or -1 when nothing is selected.
    int ListIndex() const;

protected:
    void Form_Load() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void lstHelpIndex_Click();
    void txtHelp_GotFocus();
    void cmdOK_Click();

    std::function<void()> m_txtHelpGotFocus;
};
