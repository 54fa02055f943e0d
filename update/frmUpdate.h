#pragma once

#include "platform/Form.h"

class LinkLabel;
class QLabel;
class QPushButton;

// Announces a newer version: both version texts and the link to the program's web page.
class frmUpdate : public Form
{
    Q_OBJECT
public:
    frmUpdate();

    QLabel *lblNewVersion;
    QLabel *lblCurrentVersion;
    QLabel *lblVersion;
    LinkLabel *lblDownloadURL;
    QLabel *lblUpdateMessage;
    QLabel *lblYourVersion;
    QLabel *lblThisVersion;
    QPushButton *cmdOK;

    static const QString WebPage;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void lblDownloadURL_Click();
    void cmdOK_Click();
};
