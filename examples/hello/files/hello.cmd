@echo off
rem Hello World: greets the user by the name in hello.ini.
for /f "tokens=2 delims==" %%n in ('findstr /b "Name=" "%~dp0hello.ini"') do set NAME=%%n
if "%NAME%"=="" set NAME=World
echo Hello, %NAME%!
pause
