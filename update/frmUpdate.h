#pragma once

#include <QDialog>

class ElidedLabel;
class LinkLabel;
class QLabel;
class QPushButton;

// Announces a newer version: both version texts and the link to the program's web page.
class frmUpdate : public QDialog
{
    Q_OBJECT
public:
    frmUpdate(const QString &version, const QString &running, QWidget *owner = nullptr);

    QLabel *lblNewVersion;
    QLabel *lblCurrentVersion;
    ElidedLabel *lblVersion;
    LinkLabel *lblDownloadURL;
    QLabel *lblUpdateMessage;
    QLabel *lblYourVersion;
    QLabel *lblThisVersion;
    QPushButton *cmdOK;

    static const QString WebPage;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void lblDownloadURL_Click();
    void cmdOK_Click();
};
