// The check of the eight datafiles, at start-up and at every later load:
// each must exist, be safe to load, load, and hold at every catalogued
// position an object of the right kind, with the sizes the code relies on.
// The first problem found is reported as one line naming the file and the
// object.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The bytes of a datafile, read whole; empty, or why not: "missing (no file
// ...)", or "cannot be read (...)" with the system's reason.
std::string read_datafile(const std::string &path, std::vector<uint8_t> &bytes);

struct DatafileRelease {
  void operator()(DATAFILE *data) const { unload_datafile(data); }
};
using OwnedDatafile = std::unique_ptr<DATAFILE, DatafileRelease>;

// What the code reads at a catalogued position.
enum class ObjectKind { bitmap, palette, sample };

struct CataloguedObject {
  int position;
  ObjectKind kind;
};

// Every position the code reads in the file of this name, with the kind it
// reads there; empty for a name that is not one of ours.
std::vector<CataloguedObject> catalogued_objects(const std::string &file);

// Empty when the loaded datafile meets the catalogue of the file with this
// name; else e.g. "object 23 should be a 320x240 bitmap".
std::string catalogue_problem(const std::string &file, DATAFILE *data);

// The file of this name in the folder, read once: its bytes checked, then
// exactly those bytes loaded and the objects checked against its catalogue.
// The loaded datafile, or none with the problem. The library must be
// installed (any system driver).
OwnedDatafile load_checked_datafile(const std::string &folder, const std::string &file,
                                std::string &problem);

// The file a datafile that load_checked_datafile loaded came from, e.g.
// "title.dat"; nullptr for any other pointer.
const char *datafile_name_of(const DATAFILE *data);

// Empty when the file of this name in the folder exists, is sound, loads and
// meets its catalogue; else why not (load_checked_datafile's problem).
std::string datafile_problem(const std::string &folder, const std::string &file);

// Checks the eight files in a folder; empty when all are fine, else
// "title.dat: object 23 should be a 320x240 bitmap" for the first problem.
std::string datafiles_problem(const std::string &folder);
