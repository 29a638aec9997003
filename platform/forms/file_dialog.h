// Open and save dialogs in the manner of the VCL's TOpenDialog/TSaveDialog:
// filter ("Stage File (*.EGG)|*.EGG"), default extension, first folder, title,
// the folder's files with folder navigation, an overwrite question on save,
// and an optional preview panel at the right, redrawn by a callback whenever
// the selected file changes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::forms {

// The preview's picture: either 8-bit with a palette or 0x00RRGGBB pixels.
struct PreviewPicture {
  int width = 128, height = 128;
  bool indexed = false;
  std::vector<uint8_t> pixels;   // indexed: width * height palette indices
  uint32_t palette[256] = {};    // indexed: 0x00RRGGBB
  std::vector<uint32_t> rgb;     // not indexed: width * height pixels

  void fill_rgb(uint32_t color);          // switches to RGB
  void fill_indexed(uint8_t index);       // switches to 8-bit
  // The picture as 0x00RRGGBB pixels, whichever form it is in (missing pixels are white).
  std::vector<uint32_t> to_rgb() const;
};

struct PreviewPanel {
  std::string caption;       // above the picture, e.g. "[ Stage Preview ]"
  int width = 128, height = 128;
  // Runs when the selection changes (and when the dialog shows): `path` is the
  // full path of the selected file, or empty when no existing file is
  // selected. Draw into `picture` (already sized, white) and set `text`
  // (shown below the picture).
  std::function<void(const std::string& path, PreviewPicture& picture, std::string& text)>
      on_selection_change;
  bool enabled() const { return static_cast<bool>(on_selection_change); }
};

enum class FileDialogKind : uint8_t { Open, Save };

struct FilterEntry {
  std::string description;            // "Stage File (*.EGG)"
  std::vector<std::string> patterns;  // {"*.EGG"}
};

class FileDialog {
 public:
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;        // empty: "Open" or "Save As"
  std::string filter;       // "Desc|*.A;*.B|Desc2|*.*"
  int filter_index = 1;     // 1-based, as in the VCL
  std::string default_ext;  // "EGG": added to a name typed without extension
  std::string initial_dir;  // first folder; empty: the current folder
  std::string file_name;    // in: proposed name; out: the chosen full path
  bool overwrite_prompt = true;  // save: ask before replacing a file
  bool file_must_exist = true;   // open: refuse names of missing files
  PreviewPanel preview;

  // Shows the dialog; true with file_name set when the user chose a file.
  // Headless / without a window: prints the request to stderr and takes one
  // answer: "cancel" (or no answer) cancels; "ok" accepts the proposed
  // file_name; any other text is a path, taken relative to the first folder.
  // The default extension is added, an open refuses a missing file, and a
  // save over an existing file asks its overwrite question through
  // platform::message_box (answered from the queue; no answer means No).
  // With a preview, its callback runs once for the chosen file.
  bool execute();

  // What OK does with a typed name in folder `folder`, shared by both modes.
  struct Resolution {
    enum Kind : uint8_t {
      Empty,      // nothing typed
      Accept,     // take `path`
      Overwrite,  // save over the existing file `path`: ask first
      Folder,     // `path` is a folder: go there
      Pattern,    // the name holds '*' or '?': list with it as the filter
      Missing,    // open: `path` does not exist
      NoFolder,   // the folder of `path` does not exist
    } kind = Empty;
    std::string path;
  };
  Resolution resolve(const std::string& typed, const std::string& folder) const;
  std::string shown_title() const;
  std::string first_folder() const;  // initial_dir made absolute, with a trailing '/'
};

std::vector<FilterEntry> parse_filter(const std::string& filter);
// Case-insensitive match of a file name with '*' and '?' (and "*.*" matching all).
bool match_pattern(const std::string& name, const std::string& pattern);
bool match_filter(const std::string& name, const FilterEntry& entry);
// Adds "." + ext to a name whose last component has no extension.
std::string apply_default_ext(const std::string& name, const std::string& ext);

}  // namespace platform::forms
