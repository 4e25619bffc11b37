# Finds what the Python module needs: Debian's interpreter /usr/bin/python3
# (not whichever python3 comes first on PATH, such as a pyenv shim), its
# headers, numpy, and pybind11. Sets KESTRIN_PYTHON_FOUND.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The interpreter the kestrin module is built for")
endif()
set(Python3_FIND_STRATEGY LOCATION)
set(Python3_FIND_VIRTUALENV STANDARD)
find_package(Python3 3.9 QUIET COMPONENTS Interpreter Development.Module NumPy)
set(KESTRIN_PYTHON_FOUND OFF)
if(Python3_FOUND)
  # pybind11 takes the interpreter found above.
  set(PYBIND11_FINDPYTHON ON)
  find_package(pybind11 2.6 CONFIG QUIET)
  if(pybind11_FOUND)
    set(KESTRIN_PYTHON_FOUND ON)
  endif()
endif()
