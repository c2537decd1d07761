# Turns the binary-interface facts file into the table that tests/webview/webview2_slots_test holds
# the compiled declarations against: each interface with its IID, parent and slot
# range, each method with its slot, each enumerator with its value.
# Usage: cmake -DFACTS=<facts.md> -DOUTPUT=<table.inc> -P webview2_slot_table.cmake
file(STRINGS "${FACTS}" lines ENCODING UTF-8)
set(table "// Generated from ${FACTS}; do not edit.\n")
set(interface "")
foreach(line IN LISTS lines)
  if(line MATCHES "^### ([A-Za-z0-9_]+)$")
    set(interface "${CMAKE_MATCH_1}")
  elseif(interface AND line MATCHES "^IID {([0-9A-Fa-f-]+)} .* derives from ([A-Za-z0-9_]+) .* slots ([0-9]+)\\.\\.([0-9]+)$")
    string(TOUPPER "${CMAKE_MATCH_1}" iid)
    string(APPEND table
      "WEBVIEW2_INTERFACE(${interface}, \"${iid}\", ${CMAKE_MATCH_2}, ${CMAKE_MATCH_3}, ${CMAKE_MATCH_4})\n")
  elseif(interface AND line MATCHES "^\\| ([0-9]+) \\| ([A-Za-z0-9_]+) \\|")
    string(APPEND table "WEBVIEW2_METHOD(${interface}, ${CMAKE_MATCH_2}, ${CMAKE_MATCH_1})\n")
  elseif(line MATCHES "^## ")
    set(interface "")
  elseif(line MATCHES "^- `(COREWEBVIEW2_[A-Z0-9_]+)`: (.*)$")
    set(enum "${CMAKE_MATCH_1}")
    string(REPLACE ", " ";" items "${CMAKE_MATCH_2}")
    foreach(item IN LISTS items)
      if(item MATCHES "^([A-Z0-9_]+) = ([0-9]+)")
        string(APPEND table "WEBVIEW2_ENUMERATOR(${enum}, ${CMAKE_MATCH_1}, ${CMAKE_MATCH_2})\n")
      endif()
    endforeach()
  endif()
endforeach()
file(WRITE "${OUTPUT}" "${table}")
