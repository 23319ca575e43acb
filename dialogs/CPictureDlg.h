#pragma once
// "图片预览" (template 140): a picture that is not a BMP, shown as the dots it will print
// beside the choices that make them (method, paper or width, command, darkness); the
// operator prints it (or stores it as a logo) from here, or cancels.
#include <QDialog>
#include <string>

#include "commands/Picture.h"
#include "decode/PictureFile.h"
#include "ui/DialogLayout.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tallyx {

class DotsView;

enum class PictureUse {
    Print,   // sent by the chosen command
    Logo,    // stored in an NV logo slot: no command to choose
};

class CPictureDlg : public QDialog {
    Q_OBJECT
public:
    // decoded: the file as first read for the default choices.
    CPictureDlg(std::string path, DecodedPicture decoded, PictureUse use, QWidget* parent);

    QWidget* Control(int id) const { return m_ui.controls.value(id); }
    const PictureOptions& Options() const { return m_options; }
    // The dots as they will print.
    const DotPicture& Dots() const { return m_dots; }

public slots:
    void OnMethod();
    void OnPaper();
    void OnWidth();
    void OnCommand();
    void OnDarkness();

private:
    // The choices into the dots, the preview and the size line.
    void Convert();

    std::string m_path;
    DecodedPicture m_decoded;
    PictureOptions m_options;
    DotPicture m_dots;
    BuiltDialog m_ui;
    QComboBox* m_method;
    QComboBox* m_paper;
    QLineEdit* m_width;
    QComboBox* m_command;
    QLineEdit* m_darkness;
    QLabel* m_size;
    DotsView* m_preview;
};

} // namespace tallyx
