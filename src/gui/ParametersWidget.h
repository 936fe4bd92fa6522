// The parameters (settings) window's widgets over the model; events go to the core
// handlers of the parameters window.
#ifndef QUILLMOOR_GUI_PARAMETERSWIDGET_H_
#define QUILLMOOR_GUI_PARAMETERSWIDGET_H_

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillmoor {

struct Program;

class ParametersWidget : public QWidget {
  Q_OBJECT

 public:
  // `refreshMain` copies the model into the main window after a handler ran.
  ParametersWidget(Program& p, std::function<void()> refreshMain, QWidget* parent = nullptr);
  void PushModel();
  void PullModel();

 private:
  void FitHeight();
  template <typename Handler>
  void Handle(Handler handler);

  Program& p_;
  std::function<void()> refreshMain_;
  bool pushing_ = false;
  QCheckBox* chkAllowWordsWithHyphens_;
  QCheckBox* chkAllowWordsWithNumerals_;
  QCheckBox* chkWindowsText_;
  QCheckBox* chkIgnoreInfrequentWords_;
  QComboBox* cboThresholdFrequency_;
  QComboBox* cboWordRules_;
  QComboBox* cboEncoding_;      // its first item "automatic" stands for ""
  QComboBox* cboSortLanguage_;  // its first item "default" stands for ""
  QLineEdit* txbStopWordsFile_;
  QLineEdit* txbExtraStopWords_;
  QLabel* lblParameters_;
  QLineEdit* txbParametersFile_;
  QPushButton* cmdListStopWords_;
  QPushButton* close_ = nullptr;
  QGroupBox* frame5_ = nullptr;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_PARAMETERSWIDGET_H_
