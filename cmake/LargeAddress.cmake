# vmd_large_address_aware(target...): 32-bit Windows programs that stitch may
# use up to 4 GB of addresses on 64-bit Windows and under Wine, not 2. The
# flag sits in the PE header; tests/tools/large_address_test.cpp reads it back.
function(vmd_large_address_aware)
  if(NOT VMD_WIN32)
    return()
  endif()
  foreach(target IN LISTS ARGN)
    target_link_options(${target} PRIVATE -Wl,--large-address-aware)
  endforeach()
endfunction()
