@echo off
rem Tessel library 4.09 - registers the Help 2 collection (qvlib.HxS) with
rem the help system of Borland Developer Studio 2006.
rem The registration tool H2Reg.exe is looked for beside this file; when it
rem is not there the help simply stays unregistered and nothing is changed.
setlocal
set "QVHELP=%~dp0"
if not exist "%QVHELP%H2Reg.exe" goto done
"%QVHELP%H2Reg.exe" -r -q "Namespace=Veltrane.Tessel.409" "Collection=%QVHELP%qvlib.HxC" "Title=%QVHELP%qvlib.HxS" "Plugin=borland.bds4"
:done
endlocal
exit /b 0
