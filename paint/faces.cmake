# Reads paint/faces.txt, the one table of the design's font families and their faces, into
# VORBIX_FACES: one entry "family|face|bold|italic|file|package" a face. The C++ table, the
# page's style sheet and the page's fonts are made from it.
function(vorbix_read_faces)
  set(table ${PROJECT_SOURCE_DIR}/paint/faces.txt)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} lines REGEX "^[^#]")
  set(faces)
  foreach(line ${lines})
    string(REGEX REPLACE " *\\| *" "|" line "${line}")
    string(STRIP "${line}" line)
    list(APPEND faces "${line}")
  endforeach()
  set(VORBIX_FACES "${faces}" PARENT_SCOPE)
endfunction()

# Sets family, face, bold, italic, file and package from one entry of VORBIX_FACES.
macro(vorbix_face_fields entry)
  string(REPLACE "|" ";" vorbix_fields "${entry}")
  list(GET vorbix_fields 0 family)
  list(GET vorbix_fields 1 face)
  list(GET vorbix_fields 2 bold)
  list(GET vorbix_fields 3 italic)
  list(GET vorbix_fields 4 file)
  list(GET vorbix_fields 5 package)
endmacro()
