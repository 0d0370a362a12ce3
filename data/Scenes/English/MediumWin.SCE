// Your medium robot cheers.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor RobotMediumVorn Star
Stage
Time 2
Camera
Position 0 -13.5 3.5
LookAt 0 0 3.7
End
Star
From 0 0 0
AnimationLoop Idle Idle
Mood Happy
End
End
Stage
Time 4
Text
<S> 0.3 Hooray
End
Star
Animation VictoryCheer Victory
End
End
