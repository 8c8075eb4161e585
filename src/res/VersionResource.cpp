// Linked into each of our executables: the version "resource" that FileVersionString finds
// by scanning a file for the marker, since ELF files carry no version block of their own.
// The numbers are those of kVersionText in Version.h.
extern "C" {
extern const char kVelmoraVersionResource[];
[[gnu::used]] const char kVelmoraVersionResource[] = "VelmoraFileVersion=1,0,0,15";
}
