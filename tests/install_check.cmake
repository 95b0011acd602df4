# Installs into a scratch prefix and checks that the desktop finds everything it needs.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(icons share/icons/hicolor)
foreach(f bin/gridglyph
          share/applications/org.gridglyph.GridGlyph.desktop
          share/metainfo/org.gridglyph.GridGlyph.metainfo.xml
          ${icons}/48x48/apps/org.gridglyph.GridGlyph.png ${icons}/64x64/apps/org.gridglyph.GridGlyph.png
          ${icons}/128x128/apps/org.gridglyph.GridGlyph.png ${icons}/256x256/apps/org.gridglyph.GridGlyph.png
          ${icons}/scalable/apps/org.gridglyph.GridGlyph.svg
          share/man/man1/gridglyph.1.gz share/doc/gridglyph/copyright)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
