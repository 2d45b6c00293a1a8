#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace vantora {

// One screen of the program: a single instance for the whole run, whose window and controls
// exist only while it is loaded. Loading builds the window afresh and runs Form_Load; unloading
// lets the screen save (queryUnload), runs Form_UnLoad and destroys the window, so a screen
// loaded again starts from its initial state. Fields of the subclass survive unloading.
class Screen : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Screen)

public:
    explicit Screen(const QString &name);
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

Q_SIGNALS:
    void loaded();
    void unloaded();

protected:
    // Builds the window and its controls (from the .ui file) and connects the handlers.
    virtual QWidget *createWindow() = 0;
    // Forgets the generated form; the window itself is destroyed by the base.
    virtual void releaseWindow() {}
    virtual void Form_Load() {}
    virtual void Form_UnLoad() {}
    // Runs before unloading, when the window is still there: a record screen saves here.
    virtual bool queryUnload() { return true; }

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void destroyWindow();

    QPointer<QWidget> m_window;
    bool m_unloading = false;
};

} // namespace vantora
