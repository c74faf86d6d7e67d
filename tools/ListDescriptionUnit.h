#pragma once
// Lists written from a readable description (an XML file):
//
//   <listdescription generationtime="2013-04-01 06:30:00" firstday="2013-03-01"
//                    lastday="2013-03-31" firsttext="..." remark="...">
//     <listgeneration ...> ... </listgeneration>   copied into the list as it stands;
//                      a missing listfields/datamodule is taken from dataFolder
//     <calls>
//       <call EXTENSION="201" NAME="Kovács Péter" DURATION="65"
//             zoneindex="1" duration="65" calcdur="120" impulse="4" cost="39"
//             readincost="38" ringtime="7"/>
//     </calls>
//   </listdescription>
//
// A call names its column values by column id (a missing one is empty) and
// its counter inputs by the lower-case names (a missing one is 0). Calls are
// written in the order given, so they must already be sorted by the break keys.
#include <string>

namespace tools {

// Raises TListWriterError (or the XML parser's error) naming what is wrong;
// no list file is left behind then.
void WriteDescribedList(const std::string &descriptionFile, const std::string &fileName, const std::string &dataFolder);

}  // namespace tools
