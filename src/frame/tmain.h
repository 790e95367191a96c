#pragma once
#include "ui/screenregistry.h"
#include "ui/session.h"
#include <QMainWindow>
#include <QMap>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QToolButton;
class MarqueeLabel;

// The product title that follows the shop name in the main window's title.
inline constexpr char16_t kProductTitle[] = u"Lumareth正式版V1.11";

// The main window: menu, toolbar, status bar and the child windows of the screens.
class TMAIN : public QMainWindow {
    Q_OBJECT
  public:
    // With the screens and commands of every area.
    explicit TMAIN(Session& session, QWidget* parent = nullptr);
    // With the screens and commands of the given registry only.
    TMAIN(Session& session, ScreenRegistry registry, QWidget* parent = nullptr);
    ~TMAIN() override;

    QMdiArea* mdiArea() const { return mdi_; }
    ScreenRegistry& registry() { return registry_; }

    // Brings the open child window with this caption forward, or creates its screen.
    // Returns the screen, or nullptr when no screen is registered under the caption.
    Q_INVOKABLE QWidget* openScreen(const QString& caption);
    QMdiSubWindow* findWindow(const QString& caption) const;

    // Runs the window-less command registered under a menu item or button name; nothing when none is.
    void runCommand(const QString& itemName);
    void showHelp();
    void showAbout();

    // The status pane of the current operator: "当前用户为:" and the number.
    void setCurrentOperator(const QString& number);
    // Disables every command that has a flag, then enables those whose flag is set.
    void applyFlags(const std::array<bool, 18>& flags);

    // Makes the day's automatic backup unless it is there already; while it runs the status bar
    // says so. A failure shows one warning, and the backup is tried again at exit.
    void autoBackup();

    // Reads the shop name from the settings file and shows it.
    void loadShopName();
    // Shows session().shopName in the title and in the large label.
    void showShopName();

    // The flag that enables a command (menu item or toolbar button); 0 when always enabled.
    static int flagOf(const QString& commandName);
    // The names of every command that has a flag: 18 menu items and 6 toolbar buttons.
    static QStringList flaggedCommands();

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void build();
    void buildMenu();
    void buildToolbar();
    void buildStatusBar();
    void buildClientArea();
    void placeLabels();
    void perform(const QString& itemName);

    Session& session_;
    ScreenRegistry registry_;
    QMdiArea* mdi_;
    QToolBar* Toolbar1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* StatusPane1 = nullptr;
    MarqueeLabel* MarqueeStatus1 = nullptr;
    QLabel* ClockStatus1 = nullptr;
    QLabel* BackupStatus1 = nullptr;
    bool autoBackupFailed_ = false;
    QMap<QString, QAction*> items_;
    QMap<QString, QToolButton*> buttons_;
};
