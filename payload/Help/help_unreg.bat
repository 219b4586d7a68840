@echo off
rem Tessel library 4.09 - removes the Help 2 collection that help_reg.bat
rem registered. Does nothing when the registration tool is not there.
setlocal
set "QVHELP=%~dp0"
if not exist "%QVHELP%H2Reg.exe" goto done
"%QVHELP%H2Reg.exe" -u -q "Namespace=Veltrane.Tessel.409" "Plugin=borland.bds4"
:done
endlocal
exit /b 0
