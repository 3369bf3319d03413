#include "ui/port_choices.h"

#include <QAbstractItemView>
#include <QFile>
#include <QSignalBlocker>
#include <algorithm>
#include <filesystem>

namespace vorsin::ui {

std::vector<PortChoice> SimulatorLinks(const std::string& directory) {
  std::vector<PortChoice> links;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("pkd-sim", 0) != 0 || !entry.is_symlink(ec)) continue;
    // A link left behind by a simulator that has ended points nowhere.
    if (!std::filesystem::exists(entry.path(), ec)) continue;
    links.push_back({entry.path().string(), entry.path().string()});
  }
  std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return links;
}

std::vector<PortChoice> PortChoices() {
  std::vector<PortChoice> choices = ListPorts();
#ifndef _WIN32
  for (auto& link : SimulatorLinks("/tmp")) choices.push_back(std::move(link));
#endif
  return choices;
}

int InitialPortChoice(const std::vector<PortChoice>& choices) {
  for (size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].label.find("pkd-sim") != std::string::npos) return static_cast<int>(i);
  }
  return 0;
}

namespace {

QString FromFs(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

#ifdef _WIN32
constexpr const char* kTypedExample = "COM7";
#else
constexpr const char* kTypedExample = "/dev/ttyUSB0";
#endif

}  // namespace

PortBox::PortBox(QWidget* parent) : QComboBox(parent) {
  setObjectName("ComboBox22");
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMinimumContentsLength(12);
  view()->setTextElideMode(Qt::ElideMiddle);
  connect(this, &QComboBox::currentTextChanged, this, [this] { showTip(); });
  showTip();
}

void PortBox::fill(const std::vector<PortChoice>& choices, int selected) {
  clear();
  for (const auto& c : choices) {
    addItem(FromFs(c.label), FromFs(c.name));
    setItemData(count() - 1, FromFs(c.name), Qt::ToolTipRole);
  }
  setCurrentIndex(selected);
}

std::string PortBox::portName() const {
  const QString text = currentText().trimmed();
  const int item = findText(text);
  const QString name = item >= 0 ? itemData(item).toString() : text;
  return QFile::encodeName(name).toStdString();
}

void PortBox::showPopup() {
  const QString typed = currentText();
  {
    // The same port stays chosen: nothing the page listens to changes.
    const QSignalBlocker quiet(this);
    const std::vector<PortChoice> choices = source_();
    fill(choices, -1);
    const int item = findText(typed);
    if (item >= 0) setCurrentIndex(item);
    setEditText(typed);
  }
  showTip();
  QComboBox::showPopup();
}

void PortBox::showTip() {
  const QString name = FromFs(portName());
  setToolTip((name.isEmpty() ? QString() : name + u'\n') +
             QStringLiteral("Выберите порт из списка или введите путь к устройству (например, %1).")
                 .arg(QLatin1String(kTypedExample)));
}

}  // namespace vorsin::ui
