// TForm1: the main window. It owns the workspace (the configuration and the
// values kept beside it), the vocabulary file, the serial port, the menus,
// the page control and the window-wide helpers the pages share.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

#include "link/com_port.h"
#include "model/configuration.h"
#include "model/vocabulary.h"
#include "ui/window_services.h"

class QAction;
class QDialog;
class QTabWidget;

namespace vorsin::ui {

class AddresseesPage;
class GeneralPage;
class Page;
class ProgrammingPage;
class RemotePage;
class UsersPage;
class ReplaceDialog;
class SmsEditor;
class TerminalPanel;

struct WindowSetup {
  QString programDir;              // the executable's folder
  // Where the vocabulary file, the project files and the user's other files
  // (Capture/, Firmware/) lie; empty: beside the executable, as a portable copy.
  QString vocabularyPath;
  QString projectDir;
  QString userDir;
  // The window's own settings file; empty: Qt's user scope.
  QString settingsPath;
  Messenger* messenger = nullptr;  // nullptr: message boxes
  FileChooser files;               // empty members: Qt's file dialogs
};

// The pages in the order of the page control.
enum Tab { kGeneral, kAddressees, kLoops, kRelays, kEvents, kReports, kUsers, kRemote, kProgramming, kTabCount };

// The other windows, created after this one in the start-up order.
struct Forms {
  QDialog* eventDialog = nullptr;       // TForm2
  QDialog* keyDialog = nullptr;         // TForm3, the touch-memory key request
  QDialog* timeEventsDialog = nullptr;  // TForm4
  QDialog* addresseeDialog = nullptr;   // TForm5
  ReplaceDialog* fileDialog = nullptr;  // T_FileDialog
  QDialog* loaderDialog = nullptr;      // TForm6, the firmware loader
  SmsEditor* smsEditor = nullptr;       // TForm7
};

class MainWindow : public QMainWindow, public WindowServices {
  Q_OBJECT
 public:
  explicit MainWindow(WindowSetup setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  Workspace& workspace() override { return ws_; }
  Vocabulary& vocabulary() override { return vocabulary_; }
  Messenger& messenger() override { return *messenger_; }
  ComPort& port() override { return port_; }
  DestMenu& destMenu() override { return *destMenu_; }
  FreeEntryCombos& combos() override { return *combos_; }
  void refreshPages() override;
  void updateCaption() override;
  void beginOperation() override;
  void endOperation() override;
  bool operationRunning() const override { return operations_ > 0; }

  const QString& programDir() const { return programDir_; }
  const QString& userDir() const { return userDir_; }
  QString settingsPath() const override { return settingsPath_; }
  QWidget* widget() override { return this; }
  ReplaceDialog* replaceDialog() override { return forms_.fileDialog; }
  QProgressBar* progressBar() override;
  QTabWidget* pageControl() const { return pageControl_; }
  GeneralPage* generalPage() const { return general_; }
  ProgrammingPage* programmingPage() const override { return programming_; }
  UsersPage* usersPage() const { return users_; }
  RemotePage* remotePage() const { return remote_; }
  TerminalPanel* terminal() const { return terminal_; }
  const FileChooser& files() const override { return files_; }
  Forms& forms() { return forms_; }
  // Where the file dialogs start; made on first use.
  QString projectDirectory() override;
  // The user's folder of this name (Capture, Firmware), made on first use.
  QString userFolder(const char* name) override;
  // Creates the other windows; called once, right after this one.
  void createForms();

  // Menu commands.
  void newConfiguration();
  void openProject();
  // Opens this project file as "Открыть" does (a file given to the program).
  void openProjectFile(const QString& path);
  void saveProjectAs();
  void askExit();
  void reloadSmsTemplates();
  void loadDefaultIntervals();
  void showSmsEditor();
  void showLoader();

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenu();
  void buildPages();
  void pageChanged(int index);

  QString programDir_;
  QString projectDir_;
  QString userDir_;
  QString settingsPath_;
  std::unique_ptr<Messenger> ownMessenger_;
  Messenger* messenger_;
  FileChooser files_;
  Workspace ws_;
  Vocabulary vocabulary_;
  ComPort port_;
  DestMenu* destMenu_ = nullptr;
  FreeEntryCombos* combos_ = nullptr;
  QTabWidget* pageControl_ = nullptr;
  std::array<Page*, kTabCount> pages_{};
  int shownTab_ = kGeneral;
  GeneralPage* general_ = nullptr;
  ProgrammingPage* programming_ = nullptr;
  AddresseesPage* addressees_ = nullptr;
  UsersPage* users_ = nullptr;
  RemotePage* remote_ = nullptr;
  TerminalPanel* terminal_ = nullptr;
  Forms forms_;
  int operations_ = 0;
  bool closeRequested_ = false;  // the close box was used during an operation
};

// The window caption for a workspace.
QString WindowCaption(const Workspace& ws);

}  // namespace vorsin::ui
