#pragma once

#include "platform/font_chooser.h"
#include "shell/font_spec.h"
#include "shell/font_target_view.h"

namespace shell {

// ChangeFont and the font dialog's values, which last for the run: a confirmed choice replaces
// them, a cancelled dialog leaves them, and either way the lyrics list and the preview box are
// given them.
class FontChanger {
 public:
  // The lowest weight that counts as bold.
  static constexpr int kBoldWeight = 700;

  // All three must outlive the changer.
  FontChanger(platform::FontChooser& chooser, FontTargetView& lyricsList,
              FontTargetView& previewBox);

  // ChangeFont: shows the dialog with the kept values and restyles both controls.
  void changeFont();
  // The values the dialog opens with next time.
  const platform::FontChooser::Values& values() const { return m_values; }
  // The font a control is given for the dialog's `values`.
  static FontSpec fontSpec(const platform::FontChooser::Values& values);

 private:
  platform::FontChooser& m_chooser;
  FontTargetView& m_lyricsList;
  FontTargetView& m_previewBox;
  // Before any confirmed choice: no name, size 0, no effects, black.
  platform::FontChooser::Values m_values;
};

}  // namespace shell
