// A fresh folder under the system's temporary folder for one test's fixture tree,
// removed with everything in it when the test ends. Relative paths and the names that
// Files gives are UTF-8, of any length; the folder's own path is ASCII.
//
// Removal never reaches past the tree: a link in it goes as a link, its target stays.
// A tree that cannot be removed whole fails the test.
#ifndef BRUMIX_TESTS_TEMP_FOLDER_H
#define BRUMIX_TESTS_TEMP_FOLDER_H

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    // A fresh folder below `base` (a full path ending with a backslash) instead.
    explicit TempFolder(const std::string& base);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full path, ending with a backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

    // Creates a file (and the folders in front of it) holding `content`; gives its full path.
    std::string MakeFile(const std::string& relative, const std::string& content = "x");
    // Creates a folder and the folders in front of it; gives its full path with a backslash.
    std::string MakeFolder(const std::string& relative);
    bool Exists(const std::string& relative) const;
    void SetAttributes(const std::string& relative, unsigned long attributes) const;
    // Every file below, as relative paths ("sub\\a.obj"), sorted; folders are not listed.
    std::vector<std::string> Files() const;

private:
    std::string path_;
    bool made_ = false;  // nothing is made nor removed in a folder that could not be made
};

// Removes a folder that a TempFolder made, with everything in it, links as links (`folder`
// in UTF-8, without a final backslash). True once it is gone.
bool RemoveTree(const std::string& folder);

#endif
