#pragma once
// The message channel: every message the framework shows to the user goes through Messager,
// and every user-visible phrase is first passed through DC, which asks the host to translate
// it. A message lands in the status bar of the running command (timed lines that vanish by
// themselves) or in the host's message box.
//
// The channel lives at the bottom of the framework, yet it talks to the command framework and
// to the host modeller above it. Those subsystems install the links below when they come up;
// until then the channel behaves as with no command running and no modeller: host boxes are
// dropped, QuestionBox answers true, and DC hands phrases back as they came.
#include <cstdint>
#include <string>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

// The running command, as the channel sees it.
class TCommandLink
{
public:
  virtual ~TCommandLink() = default;
  // Whether a command is running that takes messages into its status bar.
  virtual bool Running() const = 0;
  // The status bar appends text as a new line; a time of 26 ms or more removes it again.
  virtual void LiftBox(const TString& text, int time) = 0;
  // The status bar replaces its first line with text, timed like LiftBox.
  virtual void StatusBox(const TString& text, int time) = 0;
};

// The host modeller, as the channel sees it.
class TModelerLink
{
public:
  virtual ~TModelerLink() = default;
  // Whether a host modeller exists.
  virtual bool Exists() const = 0;
  // The host's modal message box.
  virtual void LiftBox(const TString& text) = 0;
  // A yes/no question to the host: non-zero for yes.
  virtual int QuestionBox(const TString& text, const TString& caption) = 0;
};

// The host application's translation service, as DC sees it.
class TTranslatorLink
{
public:
  virtual ~TTranslatorLink() = default;
  // Whether the host application offers its translation service.
  virtual bool Available() const = 0;
  virtual std::wstring Translate(const std::wstring& text) = 0;
};

class TMessager
{
public:
  enum TOut : std::uint8_t {
    toProcess = 1, // only into the running command
    toApi = 2,     // only into the host message box
    toAlways = 4   // wherever possible
  };

  static constexpr int LiftTime = 12000;  // ms a LiftBox line stays in a command's status bar
  static constexpr int NoticeTime = 8000; // ms of DebugBox and WarningBox lines

  static TMessager& Instance();
  TMessager(const TMessager&) = delete;
  TMessager& operator=(const TMessager&) = delete;

  // Texts come already translated (DC); the channel never translates again.
  void LiftBox(const TString& text, TOut out) const;
  void DebugBox(const TString& text) const;
  void WarningBox(const TString& text) const;
  void StatusBox(const TString& text, int time) const;
  void BreakLiftBox(const TString& text) const;
  // False at once without the flag; true without a modeller; otherwise the host's answer.
  bool QuestionBox(const TString& text, bool flag) const;

  // Install a link (null removes it); each returns the link it replaces. The installer keeps
  // the link alive while it is installed.
  static TCommandLink* SetCommandLink(TCommandLink* link);
  static TModelerLink* SetModelerLink(TModelerLink* link);
  static TTranslatorLink* SetTranslatorLink(TTranslatorLink* link);

private:
  constexpr TMessager() = default;
  friend struct TMessagerInstance;
};

// The channel, set when the library is loaded.
extern TMessager* Messager;

// The host's translation of text. The result lives in a ring of 64 strings: it stays valid for
// the next 63 calls, so callers use it at once or copy it.
const TString& DC(const TString& text);
