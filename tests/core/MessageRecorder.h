#pragma once
// Recording stand-ins for what the message channel talks to: the running command's status
// bar, the host modeller's boxes and the host's translation service. A TMessageRecorder
// installs them for its lifetime and restores the links it replaced.
#include <map>
#include <string>
#include <vector>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Messager.h"

struct TRecordedCall
{
  std::string Where; // "bar.lift", "bar.status", "host.box", "host.question"
  TString Text;
  int Time = 0;    // status-bar calls only
  TString Caption; // questions only
};

class TRecordingCommand : public TCommandLink
{
public:
  explicit TRecordingCommand(std::vector<TRecordedCall>& log) : Log(log) {}
  bool Running() const override { return IsRunning; }
  void LiftBox(const TString& text, int time) override { Log.push_back({"bar.lift", text, time, TString()}); }
  void StatusBox(const TString& text, int time) override
  {
    Log.push_back({"bar.status", text, time, TString()});
  }
  bool IsRunning = false;

private:
  std::vector<TRecordedCall>& Log;
};

class TRecordingModeler : public TModelerLink
{
public:
  explicit TRecordingModeler(std::vector<TRecordedCall>& log) : Log(log) {}
  bool Exists() const override { return IsThere; }
  void LiftBox(const TString& text) override { Log.push_back({"host.box", text, 0, TString()}); }
  int QuestionBox(const TString& text, const TString& caption) override
  {
    Log.push_back({"host.question", text, 0, caption});
    return Answer;
  }
  bool IsThere = false;
  int Answer = 1;

private:
  std::vector<TRecordedCall>& Log;
};

class TRecordingTranslator : public TTranslatorLink
{
public:
  bool Available() const override { return Offered; }
  std::wstring Translate(const std::wstring& text) override
  {
    Asked.push_back(text);
    auto it = Phrases.find(text);
    return it == Phrases.end() ? text : it->second;
  }
  bool Offered = false;
  std::map<std::wstring, std::wstring> Phrases;
  std::vector<std::wstring> Asked;
};

class TMessageRecorder
{
public:
  TMessageRecorder()
  {
    OldCommand = TMessager::SetCommandLink(&Command);
    OldModeler = TMessager::SetModelerLink(&Modeler);
    OldTranslator = TMessager::SetTranslatorLink(&Translator);
  }
  ~TMessageRecorder()
  {
    TMessager::SetCommandLink(OldCommand);
    TMessager::SetModelerLink(OldModeler);
    TMessager::SetTranslatorLink(OldTranslator);
  }
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  // Texts that reached the host's message box.
  std::vector<TString> HostBoxes() const
  {
    std::vector<TString> out;
    for (const auto& c : Log)
      if (c.Where == "host.box") out.push_back(c.Text);
    return out;
  }

  std::vector<TRecordedCall> Log;
  TRecordingCommand Command{Log};
  TRecordingModeler Modeler{Log};
  TRecordingTranslator Translator;

private:
  TCommandLink* OldCommand = nullptr;
  TModelerLink* OldModeler = nullptr;
  TTranslatorLink* OldTranslator = nullptr;
};
