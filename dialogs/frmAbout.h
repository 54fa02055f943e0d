#pragma once

#include "platform/Dialog.h"

#include <array>

class LinkLabel;
class QLabel;
class QPushButton;

// The program's name, version and description, links to the web page and to support, and room for a
// legal warning under an etched separator.
class frmAbout : public Dialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // A windowless line of the design: end points in twips, drawn beneath the controls.
    struct LineElement
    {
        int X1, Y1, X2, Y2;
        quint32 BorderColor;
        int BorderWidth; // pixels
    };

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void connectHandlers();

    void lblURL_Click();
    void lblEmail_Click();
    void cmdOK_Click();

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    LinkLabel *lblURL;
    LinkLabel *lblEmail;
    std::array<LineElement, 2> Line1;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
};
