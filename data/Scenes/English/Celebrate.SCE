// A big celebration for a big reward. The bunny hops behind the robots, clear of
// the boost count the window writes at their feet.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn One
Actor RobotMediumVorn Two
Actor RobotLargeVorn Three
Actor Bunny Hop
Stage
Time 3
Camera
Position 0 -21 4.5
LookAt 0 0 5.8
End
Text
<S> 0.2 Yay
<S> 1.5 GoalFireworks
End
One
From -5 0 0
Animation JumpDance Victory
End
Two
From 0 2 0
Animation VictoryWave Victory
End
Three
From 5 0 0
Animation VictoryWhirly Victory
End
Hop
From -8 6 0
To 8 6 0
End
End
Stage
Time 3
Text
<S> 0.5 Hooray
End
One
Animation TwirlAndBow SimpleVictory
End
Two
Animation VictoryJump Victory
End
Three
Animation VictoryPointing Victory
End
End
