#pragma once

#include "platform/ErrorBoundary.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QEventLoop;
class QPushButton;

// A window of the program. Each form exists once, as a default instance: form<T>() creates and
// loads it on first touch, Unload() destroys it, and the next touch loads it afresh.
class Form : public QWidget
{
    Q_OBJECT
public:
    enum ShowMode { Modeless = 0, Modal = 1 };

    // Fixed dialogs: not resizable, no minimise or maximise box, a close box.
    static constexpr Qt::WindowFlags DialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint
        | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint;

    // Dialogs and the main window are laid out at this many twips per logical pixel.
    static constexpr float TwipsPerLogicalPixel = 15.0f;

    ~Form() override;

    // Not Qt's show/hide/width/height: these load the form, run its events and measure in twips; use them.
    // Modal: returns once the form has been unloaded or hidden.
    void Show(ShowMode mode = Modeless);
    void Hide();
    // Runs Form_Unload, then destroys the window. Does nothing on a form already unloaded.
    void Unload();
    bool isLoaded() const { return m_slot != nullptr; }
    bool isModalShowing() const { return m_modalLoop != nullptr; }

    // The form's size in twips.
    virtual float Width() const;
    virtual float Height() const;

    void setDefaultButton(QPushButton *button) { m_defaultButton = button; }
    void setCancelButton(QPushButton *button) { m_cancelButton = button; }

    static QRect twipsRect(int left, int top, int width, int height);
    // Places a control where the design puts it; the window's scale factor applies when it shows.
    static void placeTwips(QWidget *control, int left, int top, int width, int height);
    static QIcon applicationIcon();

    static QWidget *mainWindow();
    static int loadedCount();
    // Called when the last loaded form has been unloaded: the process then ends by itself.
    static void setAllUnloadedHandler(std::function<void()> handler);

protected:
    explicit Form(Qt::WindowFlags flags = Qt::Window);

    virtual void Form_Load() { }
    virtual void Form_Unload() { }
    virtual void Form_Resize() { }
    virtual void Form_KeyPress(int &KeyAscii) { Q_UNUSED(KeyAscii) }
    // How the window appears when shown; pattern windows go full screen here.
    virtual void showWindow();

    void setClientSizeTwips(int width, int height);

    // A handler wired to a signal: an error raised in it ends the handler, not the program.
    template <class F> std::function<void()> handler(const char *name, void (F::*method)())
    {
        F *self = static_cast<F *>(this);
        return [self, name, method] { ErrorBoundary::run(name, [&] { (self->*method)(); }); };
    }
    void setAsMainWindow();

    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    template <class T> friend T &form();
    void load(QPointer<Form> *slot);
    void ownByMainWindow();
    void keepSizeAcrossScaleFactors();

    QPointer<Form> *m_slot = nullptr;
    QEventLoop *m_modalLoop = nullptr;
    QPushButton *m_defaultButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    bool m_unloading = false;
    QMetaObject::Connection m_scaleWatch;
};

template <class T> QPointer<Form> &defaultInstanceSlot()
{
    static QPointer<Form> slot;
    return slot;
}

template <class T> T &form()
{
    QPointer<Form> &slot = defaultInstanceSlot<T>();
    if (!slot) {
        auto *created = new T;
        created->load(&slot);
    }
    return static_cast<T &>(*slot);
}

template <class T> bool isLoaded()
{
    return !defaultInstanceSlot<T>().isNull();
}

// Unloading a form that is not loaded does nothing and does not load it.
template <class T> void unload()
{
    if (isLoaded<T>())
        form<T>().Unload();
}
