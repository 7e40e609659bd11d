# sv_read_linguas(PO_DIR OUT): the language codes of PO_DIR/LINGUAS; blanks separate
# them, "#" starts a comment. Used by the build and by the scripts of po/.
function(sv_read_linguas po_dir out)
  set(codes "")
  if(EXISTS "${po_dir}/LINGUAS")
    file(STRINGS "${po_dir}/LINGUAS" lines)
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "#.*$" "" line "${line}")
      string(REGEX MATCHALL "[^ \t]+" words "${line}")
      list(APPEND codes ${words})
    endforeach()
  endif()
  set(${out} ${codes} PARENT_SCOPE)
endfunction()
