#pragma once
// The library's own phrase dictionary: pairs (source phrase, translation) read from a UTF-32
// text file in the library's directory, kept sorted and looked up by binary search. Phrases
// that were asked for but not found are collected, so that a new dictionary file can be
// written for the translators ("ZEdozodNew.dic"); the file that was read is never overwritten.
//
// The one global Dictionary also holds the result ring of the host translation DC (Messager.h).
//
// File form: UTF-32LE, 4 bytes per character, starting with the byte-order mark. Each pair is a
// line "source"="translation" followed by CR LF. Only the double quotes matter when reading:
// the text between the 1st and 2nd quote is a source, between the 3rd and 4th its translation,
// and so on; everything outside the quotes is skipped. Phrases cannot hold a double quote.
#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/Types.h"

class TDictionary
{
public:
  static constexpr Integer CountBufer = 64;      // slots of the DC ring
  static constexpr Integer MaxCountWords = 2000; // pairs the table holds

  TDictionary();
  TDictionary(const TDictionary&) = delete;
  TDictionary& operator=(const TDictionary&) = delete;

  // Stores the three texts on every call; only the first call reads a dictionary file. The
  // file read is executePath + name when that names an existing ".dic" file, else the default
  // "ZEdozod.dic" there, else the first ".dic" file of the directory (Find). Returns Active.
  bool Init(const TString& name, const TString& executePath, const TString& statePath);
  // Sets NameDictionary to the first regular ".dic" file of the directory dir, in iteration
  // order; false (nothing changed) when there is none or dir cannot be read. The file that Save
  // writes is no candidate: reading it would let Save overwrite the file it read.
  bool Find(const TString& dir);
  // Sorts the first CountWords pairs by source phrase (byte order of the code page), in the
  // order a selection sort gives: for each place the first of the smallest remaining sources
  // is swapped in. True when a pair moved.
  bool Sorting();
  // The translation of text: the text itself when the dictionary is inactive, the text is
  // empty, or no translation is known (the phrase is then collected). The reference is to a
  // pair of the table or to text itself.
  const TString& DC(const TString& text);
  // Collects text (with an empty translation) unless it is known already. Nothing is recorded
  // once the table is full, nor a phrase that the file form cannot hold (empty, or holding a
  // double quote).
  void Add(const TString& text);
  // Collects the phrases of the calls DC("...") in a program text read as UTF-32 characters,
  // then saves. Does nothing before Init.
  void Update(const TString& sourceFile);
  // Writes every pair, sorted, to "ZEdozodNew.dic" in ExecutePath when anything changed since
  // the load. Does nothing before Init.
  void Save();

  bool IsActive() const { return Active; }
  bool IsActivate() const { return Activate; }

  // Fields, in their documented order.
  TString NameDictionary;          // "ZEdozod.dic" after construction
  TString ExecutePath;             // directory of the library, with its trailing '/'
  TString StatePath;               // directory for state files
  bool Active = false;             // a dictionary with at least one pair has been read
  bool Activate = false;           // Init has run
  TString Words[MaxCountWords][2]; // [i][0] source phrase, [i][1] translation
  Integer CountWords = 0;          // pairs of the sorted part
  Integer AllWords = 0;            // pairs including those collected after loading

  TString Bufer[CountBufer]; // results of DC, reused in turn
  Integer IBufer = 0;        // next slot

private:
  TString PathOf(const TString& name) const;
  void Load(const TString& path);
  Integer Search(const TString& text) const; // index in the sorted part, or -1
  bool Known(const TString& text) const;
};

// The one dictionary, built when the library is loaded.
extern TDictionary Dictionary;
