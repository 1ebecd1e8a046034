#pragma once

#include <string>

namespace platform {

// Icon of a message box.
enum class MessageIcon { None, Information, Warning, Error };

// Shows modal message boxes. Texts and titles are GBK bytes; a box without a title gets "信息：".
class Prompter {
 public:
  virtual ~Prompter() = default;
  // A message with a single OK button.
  virtual void inform(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // A question with Yes and No; true only for Yes.
  virtual bool ask(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace platform
