#pragma once

#include "platform/Dialog.h"

class ElidedLabel;
class LinkLabel;
class QLabel;
class QPushButton;

// Announces a newer version: both version texts and the link to the program's web page.
class frmUpdate : public Dialog
{
    Q_OBJECT
public:
    // version as the server gave it, running as this program's version.
    frmUpdate(const QString &version, const QString &running, QWidget *parent = nullptr);

    static const QString WebPage;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void lblDownloadURL_Click();
    void cmdOK_Click();

    QLabel *lblNewVersion;
    QLabel *lblCurrentVersion;
    ElidedLabel *lblVersion;
    LinkLabel *lblDownloadURL;
    QLabel *lblUpdateMessage;
    QLabel *lblYourVersion;
    QLabel *lblThisVersion;
    QPushButton *cmdOK;
};
