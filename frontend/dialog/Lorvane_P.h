#pragma once
// Form Lorvane_P: the settings dialog. The user chooses the background music (none, an audio CD
// with an optional track to repeat, or an MP3 or WAV file); OK writes the settings file, Cancel
// and the close box write nothing.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class Command;
class PictureBox;
class QComboBox;
class QLabel;
class ShapeOutline;

class Lorvane_P : public QDialog {
  Q_OBJECT

 public:
  // The window is made, titled "<Lorvane>", with its native window, at once: other instances look
  // for that title. OK writes to settingsFile.
  explicit Lorvane_P(const QString& settingsFile);
  // The same, writing the program's own settings file.
  Lorvane_P();
  ~Lorvane_P() override;

  // Loads the form and shows it modally; returns when it has closed.
  void ShowModal();
  // Form_Load alone (once), for a caller that shows the form itself.
  void Load();

  // The text of the track box as OK takes it: a plain decimal number (optional sign, blanks
  // around it, a fraction) rounded half to even; other text is 0. A number that 16 bits cannot
  // hold gives nullopt: the track to repeat then stays as it was, never wrapped into another.
  static std::optional<int16_t> TrackOfText(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();

  void Form_Load();
  void Form_Resize();
  void Form_Unload(int16_t& Cancel);
  void Img_BGM_MouseDown(int Index, int16_t Button, int16_t Shift, float X, float Y);
  void lbl_BGM_MouseDown(int Index, int16_t Button, int16_t Shift, float X, float Y);
  void Cmd_File_Click(int Index);
  void Cmd_Set_Click();
  void Cmd_Can_Click();
  void lbl_URL_Click();

  void SelectSource(int Index);
  void InitButtons(QWidget* form);
  void AnimateWindowOpen();
  void AnimateWindowClose();

  QString settingsFile_;
  bool loaded_ = false;
  bool urlPressed_ = false;
  QImage surface_;  // the dialog's persistent background

  std::array<PictureBox*, 1> Pic_C{};
  std::array<ShapeOutline*, 4> Shape{};
  std::array<QLabel*, 16> lbl{};
  std::array<QLabel*, 3> Img_BGM{};
  std::array<QLabel*, 3> lbl_BGM{};
  QComboBox* BGM_Repeat = nullptr;
  std::array<Command*, 1> Cmd_File{};
  std::array<QLabel*, 1> lbl_Fname{};
  QLabel* lbl_URL = nullptr;
  Command* Cmd_Set = nullptr;
  Command* Cmd_Can = nullptr;
  std::array<QPixmap, 2> Img_Ra;  // hidden: the unselected and the selected marker

  int16_t AnimOriginX = 0;
  int16_t AnimOriginY = 0;
};
