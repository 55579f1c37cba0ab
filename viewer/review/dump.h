// The text dump of a review's data sets (orvantaiv --dump), one record per line, fields separated
// by tabs, texts in UTF-8:
//   review      <name>
//   comparison  <name>
//   outcome     <name>  <studies>  <participants>  <statistical method>  <effect size>
//   method      <measure code>  <model code>  current|other       (one per method result)
//   vector      <name>  <length>                                  (in vector-number order)
//   cell        <row>  number <value> | text <text> | missing
// Every row 1..length of every vector is listed; numbers are written in the shortest form that
// reads back exactly; "missing" is an empty cell or the missing marker.
#pragma once

#include <ostream>
#include <string>

// Loads the review and writes its dump; on failure writes nothing and returns false with the error.
bool WriteDump(const std::string& path, std::ostream& out, std::string& error);
