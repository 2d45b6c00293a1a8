// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/banner.h"
#include "data/binding/databaseready.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

namespace vantora {

// One screen of the program: a single instance for the whole run, named like its class, whose
// window and controls exist only while it is loaded. Loading builds the window afresh from the
// screen's form, connects the handlers, requests the banner and runs Form_Load; unloading lets
// the screen save (queryUnload), runs Form_UnLoad and destroys the window, so a screen loaded
// again starts from its initial state. Fields of the subclass survive unloading.
class Screen : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Screen)

public:
    ~Screen() override;

    QString name() const { return objectName(); }
    bool isLoaded() const { return m_window != nullptr; }
    QWidget *window() const { return m_window; }

    // Builds the window and runs Form_Load. Does nothing when already loaded. A screen may
    // unload itself during its own load step (the tip window does).
    void load();
    // Saves what must be saved and destroys the window. False when the screen refused (an edit
    // that could not be saved and that the user chose to keep).
    bool unload();
    // Shows the window modeless and brings it to the front; loads it first if needed.
    void show();

protected:
    Screen() = default;

    // The screen's own steps, in the order loading and unloading run them.
    virtual void connectHandlers() {}
    virtual void Form_Load() {}
    // Runs before unloading, while the window is still there: a record screen saves here.
    virtual bool queryUnload() { return true; }
    virtual void Form_UnLoad() {}

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Builds the window and its controls from the screen's form; forgets the form again.
    virtual QWidget *buildWindow() = 0;
    virtual void releaseForm() = 0;
    // What every screen of a kind does first on loading (the banner, the record binding).
    virtual void prepareForm() {}

    void destroyWindow();

    QPointer<QWidget> m_window;
    bool m_unloading = false;
};

// A screen built from its Qt Designer form `Form` (the generated Ui class) on a window of type
// `Window`. The form is owned while the screen is loaded. A form with a banner view
// (`WebBrowser1`) has the banner requested as the first step of every load.
template <typename Form, typename Window = QWidget> class FormScreen : public Screen
{
protected:
    std::unique_ptr<Form> m_ui;

    void prepareForm() override
    {
        if constexpr (requires { m_ui->WebBrowser1; })
            showBanner(m_ui->WebBrowser1);
    }

private:
    QWidget *buildWindow() final
    {
        auto *window = new Window;
        m_ui = std::make_unique<Form>();
        m_ui->setupUi(window);
        return window;
    }
    void releaseForm() final { m_ui.reset(); }
};

} // namespace vantora
